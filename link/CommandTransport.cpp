#include "link/CommandTransport.h"

#include "link/CommStatusLine.h"
#include "link/DebugSwitches.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Port.h"
#include "platform/PortSettings.h"
#include "platform/Timer.h"

#include <cmath>

namespace {
const QString CrLf = QStringLiteral("\r\n");

// What follows the first "#", or the whole text when it has none.
QString afterSeparator(const QString &text)
{
    const qsizetype hash = text.indexOf(u'#');
    return hash < 0 ? text : text.mid(hash + 1);
}
} // namespace

CommandTransport::CommandTransport(Port &port, EventLoop &loop, Dialogs &dialogs, LinkState &state,
                                   DebugSwitches &switches, Trace &trace, CommStatusLine &status)
    : m_port(port)
    , m_loop(loop)
    , m_dialogs(dialogs)
    , m_state(state)
    , m_switches(switches)
    , m_trace(trace)
    , m_status(status)
    , m_tmrTxd(loop.createTimer())
    , m_reader(std::make_unique<LineReader>(*this, state, loop, dialogs, switches, trace, status))
{
    m_tmrTxd->setIntervalMs(m_state.txTimeoutMs);
    m_tmrTxd->setHandler([this] { TmrTxd_Timer(); });
}

CommandTransport::~CommandTransport() = default;

void CommandTransport::setInterCharDelay(double count)
{
    m_interCharDelay = count > 0 ? count : 0; // also turns NaN into 0
}

void CommandTransport::sendCommand(QString command, QString address, QString separator,
                                   QString data, qint16 length)
{
    SubSendMessage(command, address, separator, data, length);
}

void CommandTransport::SubSendMessage(QString &command, QString &address, QString &separator,
                                      QString &data, qint16 &length)
{
    // Shared by echo failures and verify mismatches of this one call.
    int attempts = Attempts;
    m_verifyFailed = false;
    for (;;) {
        if (refuseAbandoned())
            return;
        m_txd.clear();
        Q_EMIT txdChanged(m_txd);
        Q_EMIT rxdChanged(QString());
        m_state.commAbort = false;
        if (command == QLatin1String("d") && data.size() != 16) {
            refuseBadTextWrite(address, data);
            return;
        }
        m_state.captureReply = true;
        // What the logger will really receive: the checksum, the body sent and
        // the read-back comparison all see the same characters.
        QString body = QString::fromLatin1(wireBytes(address + separator + data));
        if (length > 0)
            body += fnChecksum(body);

        if (!sendLetter(command, address, data, attempts))
            return;
        length = qint16(body.size());
        sendBody(body);
        if (!waitForReply()) {
            finalCrAbort(command, address);
            return;
        }
        stopReceiveTimer();
        m_state.captureReply = false;
        m_tmrTxd->stop();
        if (verify(command, address, data, body, attempts) == Outcome::Done)
            return;
    }
}

bool CommandTransport::sendLetter(const QString &letter, const QString &address, QString &data,
                                  int &attempts)
{
    for (;;) {
        if (refuseAbandoned())
            return false;
        m_state.commAbort = false;
        m_tmrTxd->setIntervalMs(m_state.txTimeoutMs);
        m_tmrTxd->start();
        subClearBuffers();
        while (!fnCTS()) {
            m_loop.yield();
            if (m_state.commAbort) {
                timeoutAbort(letter, address);
                return false;
            }
        }
        m_port.write(letter.toLatin1());
        m_stTxLog = letter;
        appendTxd(letter);
        if (waitForEcho(letter.isEmpty() ? QChar() : letter.front()))
            return true;
        failedEcho(letter);
        if (--attempts > 0)
            continue;
        noEchoAtAll(data);
        return false;
    }
}

// Nothing more goes to the logger for a sequence that was superseded; its
// commands fail at once, so it unwinds without waiting out time-outs.
bool CommandTransport::refuseAbandoned()
{
    if (!m_state.abandoned)
        return false;
    m_state.commAbort = true;
    m_state.captureReply = false;
    m_tmrTxd->stop();
    return true;
}

bool CommandTransport::waitForEcho(QChar letter)
{
    for (;;) {
        if (!m_state.stReply.isEmpty() && m_state.stReply.front() == letter)
            return true;
        if (m_state.commAbort)
            return false;
        m_loop.yield();
    }
}

void CommandTransport::failedEcho(const QString &letter)
{
    subDTROn();
    if (m_switches.monitor) {
        m_trace.subDebugPrintERR(QStringLiteral("abort error in getting command ") + letter
                                 + QStringLiteral("response inSubSendMessage. "));
        m_trace.subDebugPrintERR(QStringLiteral("No Command Echo...Timeout error in subSendMessage"
                                                "in subSendMessage, NoCmdEcho"));
    }
    subWait(m_loop, m_state.commAbort, 1.0f);
    m_switches.beepOnError(m_dialogs);
    m_switches.haltOnErrorBox(m_dialogs,
                              QStringLiteral("err-10..Halt on error...No Cmnd Echo in subsendmessage"));
}

void CommandTransport::noEchoAtAll(QString &data)
{
    // The logger is not answering: nothing of this command is still awaited.
    m_state.captureReply = false;
    m_tmrTxd->stop();
    m_state.commAbort = true;
    if (!m_switches.haltOnError)
        return;
    data = QStringLiteral("NO command echo after 3 tries--communications with logger lost?");
    m_dialogs.Message_Box(data, int(Dialogs::OkOnly) | int(Dialogs::Critical),
                          QStringLiteral("No Cmnd Echo in subsendmessage"));
    m_switches.untickHaltOnError();
}

void CommandTransport::sendBody(const QString &body)
{
    subDTROn();
    Q_EMIT rxdChanged(m_state.stReply);
    const qint64 pauseNs = characterPauseNs();
    for (const char byte : wireBytes(body)) {
        const qint64 writtenAt = m_loop.elapsedNs();
        m_port.write(QByteArray(1, byte));
        const QChar c = QChar::fromLatin1(byte);
        m_stTxLog += c;
        appendTxd(QString(c));
        pauseAfterCharacter(writtenAt + pauseNs);
    }
    m_port.write(QByteArray(1, '\r'));
    m_stTxLog += QStringLiteral("[cr]");
    appendTxd(QStringLiteral("[cr]"));
    m_trace.subDebugPrintTX(m_stTxLog);
}

// The pause gives a slow logger time between characters: the next character
// is written no sooner than this after the previous one. A character holds
// the line for its own frame time and the next one queues behind it, so a
// pause no longer than one frame spaces nothing on the wire: it is skipped
// rather than slept, which at the usual settings costs no time at all.
qint64 CommandTransport::characterPauseNs() const
{
    const qint64 pauseNs = std::llround(m_interCharDelay) * DelayUnitNs;
    PortSettings settings;
    if (!PortSettings::parse(m_port.settings(), &settings) || settings.baud <= 0)
        return pauseNs;
    const qint64 frameNs = qint64(1 + settings.dataBits + settings.stopBits
                                  + (settings.parity == u'N' ? 0 : 1))
        * 1000000000LL / settings.baud;
    return pauseNs > frameNs ? pauseNs : 0;
}

// Time based rather than a counting loop, and it sleeps through the event
// loop, so it costs no CPU.
void CommandTransport::pauseAfterCharacter(qint64 deadlineNs)
{
    while (m_loop.elapsedNs() < deadlineNs)
        m_loop.yieldUntil(deadlineNs);
}

bool CommandTransport::waitForReply()
{
    // A carriage return in first place is not a reply: the echo comes first.
    while (m_state.stReply.indexOf(u'\r', 1) < 0) {
        if (m_state.commAbort)
            return false;
        m_loop.yield();
    }
    return true;
}

CommandTransport::Outcome CommandTransport::verify(const QString &letter, const QString &address,
                                                   const QString &data, const QString &body,
                                                   int &attempts)
{
    if (letter == QLatin1String("d") || letter == QLatin1String("b"))
        return verifyHeaderLine(letter, address, body, attempts);
    if (letter == QLatin1String("f"))
        return verifyDataLine(address, data);
    return Outcome::Done;
}

CommandTransport::Outcome CommandTransport::verifyHeaderLine(const QString &letter,
                                                             const QString &address,
                                                             const QString &body, int &attempts)
{
    const bool text = letter == QLatin1String("d");
    const QString line = text ? m_reader->fnReadBinc(address) : m_reader->fnReadHexHdra(address);
    if (m_state.commAbort)
        return Outcome::Done;
    const int width = text ? 16 : 32;
    const QString sent = afterSeparator(body).left(width);
    const QString received = afterSeparator(line).left(width);
    if (sent == received)
        return Outcome::Done;
    if (--attempts > 0)
        return Outcome::Resend;
    const QString prompt = QStringLiteral("sent message: >") + sent + QStringLiteral("< Length: ")
        + QString::number(sent.size()) + CrLf + QStringLiteral("Rcvd Message: >") + received
        + QStringLiteral("< Length: ") + QString::number(received.size()) + CrLf
        + QStringLiteral("Write verify failed! cancel to abort or OK to retry.");
    const int answer = m_dialogs.Message_Box(prompt, Dialogs::RetryCancel,
                                             QStringLiteral("Header Write Verify Failure in SubSendMessage"));
    if (answer == Dialogs::Retry)
        return Outcome::Resend;
    m_verifyFailed = true;
    return Outcome::Done;
}

CommandTransport::Outcome CommandTransport::verifyDataLine(const QString &address,
                                                           const QString &data)
{
    const QString line = m_reader->fnReadHexDatae(address);
    const QString received = line.right(34).left(32);
    if (received == data)
        return Outcome::Done;
    const QString prompt = QStringLiteral("DATA Write Confirmation ERROR! at: ") + address + CrLf
        + QStringLiteral("Sent:  ") + data + CrLf + QStringLiteral("Rcvd: ") + received;
    const int answer = m_dialogs.Message_Box(
        prompt, int(Dialogs::AbortRetryIgnore) | int(Dialogs::DefaultButton2),
        QStringLiteral("subsendmessage, f command write confirmation error"));
    if (answer == Dialogs::Retry)
        return Outcome::Resend;
    m_verifyFailed = true;
    if (answer == Dialogs::Abort)
        m_state.commAbort = true;
    return Outcome::Done;
}

void CommandTransport::finalCrAbort(const QString &letter, const QString &address)
{
    m_switches.beepOnError(m_dialogs);
    m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-12..abort error while waiting for final "
                                                        "VBCR returned data in subSendMessage"));
    m_trace.subDebugPrintERR(
        QStringLiteral("abort error in getting final VBCR on command string in subSendMessage"));
    timeoutAbort(letter, address);
}

void CommandTransport::timeoutAbort(const QString &letter, const QString &address)
{
    m_status.show(m_state.stTxTimeoutText);
    m_switches.beepOnError(m_dialogs);
    m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-08..TimeOutAbort handler is SubSendMessage")
                                             + m_state.stTxTimeoutText);
    m_status.startBlanking();
    subClearBuffers();
    stopReceiveTimer();
    m_state.captureReply = false;
    m_tmrTxd->stop();
    m_trace.subDebugPrintERR(QStringLiteral("TimeoutAbort error in subsendmessage. Cmd: ") + letter
                             + QStringLiteral(" Addr: ") + address
                             + QStringLiteral("  in subsendmessage Timeoutabort"));
    m_switches.beepOnError(m_dialogs);
    m_state.commAbort = true;
}

void CommandTransport::refuseBadTextWrite(const QString &address, const QString &data)
{
    const QString prompt = QStringLiteral("Length of Message <>16 ERROR. ") + CrLf
        + QStringLiteral("Address & Message:") + CrLf + address + u'#' + data
        + QStringLiteral("< is  ") + QString::number(data.size());
    m_dialogs.Message_Box(prompt, Dialogs::OkOnly,
                          QStringLiteral("Msg len error for d command, subSendMessage"));
    m_state.commAbort = true;
}

void CommandTransport::TmrTxd_Timer()
{
    m_tmrTxd->stop();
    m_status.show(m_state.stTxTimeoutText);
    if (m_switches.monitor)
        m_trace.subDebugPrintERR(m_state.stTxTimeoutText + QStringLiteral(" TmrTxd_Timer called. "));
    m_state.commAbort = true;
    m_switches.postHaltOnErrorBox(m_loop, m_dialogs,
                                  QStringLiteral("err-09..TXD Data timout timer tripped"));
}

void CommandTransport::appendTxd(const QString &text)
{
    m_txd += text;
    Q_EMIT txdChanged(m_txd);
}

bool CommandTransport::fnCTS()
{
    if (m_hooks.fnCTS)
        return m_hooks.fnCTS();
    return m_port.cts() == m_state.readyLevel;
}

void CommandTransport::subClearBuffers()
{
    if (m_hooks.subClearBuffers) {
        m_hooks.subClearBuffers();
        return;
    }
    while (m_port.bytesWaiting() > 0)
        m_port.takeByte();
    m_port.discardOutput();
    m_state.stRxLine.clear();
    m_state.stLastLine.clear();
    m_state.stReply.clear();
}

void CommandTransport::subDTROn()
{
    if (m_hooks.subDTROn)
        m_hooks.subDTROn();
    else
        m_port.setDtr(true);
}

void CommandTransport::stopReceiveTimer()
{
    // Without the port owner there is no receive timer to stop.
    if (m_hooks.stopReceiveTimer)
        m_hooks.stopReceiveTimer();
}
