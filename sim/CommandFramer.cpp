#include "sim/CommandFramer.h"

#include "platform/EventLoop.h"

namespace {
constexpr quint8 Cr = '\r';
// "d": address, "#", 16 characters of any code, checksum.
constexpr int TextWriteBody = 4 + 1 + 16 + 2;
} // namespace

CommandFramer::CommandFramer(EventLoop &loop, int timeoutMs)
    : m_timer(loop.createTimer())
{
    m_timer->setSingleShot(true);
    m_timer->setIntervalMs(timeoutMs);
    m_timer->setHandler([this] { timedOut(); });
}

CommandFramer::~CommandFramer() = default;

int CommandFramer::maxBody(char letter)
{
    switch (letter) {
    case 'a':
    case 'c':
        return 4;
    case 'b':
        return 4 + 1 + 32 + 2;
    case 'd':
        return TextWriteBody;
    case 'e':
        return 6;
    case 'f':
        return 6 + 1 + 32 + 2;
    case 'h':
    case 'i':
        return 2;
    case 'q':
        return 1 + 2 + 2;
    case 'g':
    case 'l':
    case 'm':
    case 'o':
    case 'p':
    case 'r':
    case 'R':
    case 's':
    case 't':
    case 'u':
        return 0;
    default:
        return -1;
    }
}

void CommandFramer::reset()
{
    m_state = State::Idle;
    m_command = Command();
    m_timer->stop();
}

CommandFramer::Step CommandFramer::feed(quint8 byte)
{
    switch (m_state) {
    case State::Idle:
        if (byte == 'G')
            return Step::Restart;
        if (maxBody(char(byte)) < 0)
            return Step::Ignored;
        m_command = Command{char(byte), {}};
        m_state = State::Collecting;
        m_timer->start();
        return Step::Letter;
    case State::Collecting:
        m_timer->start();
        return collect(byte);
    case State::Discarding:
        m_timer->start();
        if (byte == Cr)
            reset();
        return Step::Ignored;
    }
    return Step::Ignored;
}

bool CommandFramer::endsBody(quint8 byte) const
{
    if (byte != Cr)
        return false;
    // A text line may hold any code, so inside its 16 characters a carriage
    // return is data; before the "#" or after the checksum it ends the body.
    const qsizetype n = m_command.body.size();
    return m_command.letter != 'd' || n < 5 || n >= TextWriteBody;
}

CommandFramer::Step CommandFramer::collect(quint8 byte)
{
    if (endsBody(byte)) {
        m_state = State::Idle;
        m_timer->stop();
        return Step::Complete;
    }
    if (m_command.body.size() >= maxBody(m_command.letter)) {
        m_state = State::Discarding;
        return Step::Dropped;
    }
    m_command.body.append(char(byte));
    return Step::Body;
}

void CommandFramer::timedOut()
{
    reset();
    if (m_onTimeout)
        m_onTimeout();
}
