#include "app/PtyLogger.h"

#include "sim/LoggerSimulator.h"

#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const PtyLogger::Speed Speeds[] = {
    {B1200, 1200},     {B2400, 2400},     {B4800, 4800},       {B9600, 9600},
    {B19200, 19200},   {B38400, 38400},   {B57600, 57600},     {B115200, 115200},
    {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

// The sleep ends this long before a byte is due and the rest is waited out
// on the clock: a sleeping thread wakes some tens of microseconds late.
constexpr qint64 FinalWaitNs = 40'000;

timespec toTimespec(qint64 ns)
{
    return timespec{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
}

} // namespace

std::optional<speed_t> PtyLogger::speedCode(int baud)
{
    for (const Speed &s : Speeds)
        if (s.baud == baud)
            return s.code;
    return std::nullopt;
}

QString PtyLogger::describeSpeeds()
{
    QStringList rates;
    for (const Speed &s : Speeds)
        rates << QString::number(s.baud);
    return rates.join(", ");
}

PtyLogger::PtyLogger(LoggerSimulator &logger, int initialBaud, qint64 turnaroundNs)
    : m_logger(logger), m_initialBaud(initialBaud)
{
    m_line.setTurnaroundNs(turnaroundNs);
}

PtyLogger::~PtyLogger()
{
    m_logger.setOutputHandler({});
    m_reader.reset();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyLogger::fail(QString *error, const QString &what)
{
    *error = what + ": " + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

qint64 PtyLogger::monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

bool PtyLogger::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail(error, "cannot create a pseudo-terminal");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail(error, "cannot name the pseudo-terminal");
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    termios settings{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0)
        return fail(error, "cannot open " + m_path);
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, *speedCode(m_initialBaud));
    ::cfsetospeed(&settings, *speedCode(m_initialBaud));
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return fail(error, "cannot set " + m_path + " to raw mode");
    // Sleeps end when asked, not up to 50 microseconds later.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    m_reader = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    QObject::connect(m_reader.get(), &QSocketNotifier::activated, [this] { readTerminal(); });
    m_logger.setOutputHandler([this](const QByteArray &bytes, int baud) { send(bytes, baud); });
    return true;
}

int PtyLogger::terminalBaud() const
{
    termios settings{};
    if (::tcgetattr(m_master, &settings) == 0)
        for (const Speed &s : Speeds)
            if (s.code == ::cfgetospeed(&settings))
                return s.baud;
    return m_initialBaud;
}

void PtyLogger::readTerminal()
{
    takeInput();
    pump();
}

// Hands what the terminal wrote to the logger, each byte when it would have
// arrived; false when there was nothing to read.
bool PtyLogger::takeInput()
{
    char buffer[4096];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    const int baud = terminalBaud();
    const std::vector<qint64> arrivals = m_line.pcSends(n, baud, monotonicNs());
    for (ssize_t i = 0; i < n; ++i) {
        m_arrivalNs = arrivals[size_t(i)];
        m_logger.receive(quint8(buffer[i]), baud);
    }
    m_arrivalNs = -1;
    return true;
}

void PtyLogger::send(const QByteArray &bytes, int baud)
{
    QByteArray out = bytes;
    if (baud != terminalBaud()) {
        for (char &c : out)
            c = char(LoggerSimulator::garbled(quint8(c)));
    }
    m_line.loggerSends(out, baud, m_arrivalNs >= 0 ? m_arrivalNs : monotonicNs());
    schedulePump();
}

// Output made inside the logger's own handlers (a scan's dump line) is sent
// from the event loop, after they return.
void PtyLogger::schedulePump()
{
    if (m_pumping || m_pumpQueued || !m_reader)
        return;
    m_pumpQueued = true;
    // Tied to the reader, so that it never runs after the terminal is gone.
    QTimer::singleShot(0, m_reader.get(), [this] {
        m_pumpQueued = false;
        pump();
    });
}

// Writes every byte when it is due, until none waits.
void PtyLogger::pump()
{
    if (m_pumping)
        return;
    m_pumping = true;
    for (qint64 due = m_line.nextDueNs(); due >= 0; due = m_line.nextDueNs()) {
        waitUntil(due);
        const QByteArray bytes = m_line.takeDue(monotonicNs());
        // A terminal that does not read loses what its buffer cannot hold,
        // as a PC's full receive buffer does.
        if (!bytes.isEmpty())
            [[maybe_unused]] const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    }
    m_pumping = false;
}

// Sleeps until shortly before `dueNs`, taking the terminal's input meanwhile,
// then waits out the rest on the clock.
void PtyLogger::waitUntil(qint64 dueNs)
{
    for (;;) {
        const qint64 left = dueNs - monotonicNs();
        if (left <= FinalWaitNs)
            break;
        pollfd input{m_master, POLLIN, 0};
        const timespec timeout = toTimespec(left - FinalWaitNs);
        if (::ppoll(&input, 1, &timeout, nullptr) > 0 && (input.revents & POLLIN))
            takeInput();
    }
    while (monotonicNs() < dueNs) {
    }
}
