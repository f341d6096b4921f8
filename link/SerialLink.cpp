#include "link/SerialLink.h"

#include "link/CommStatusLine.h"
#include "link/DebugSwitches.h"
#include "link/Trace.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/PortNames.h"
#include "platform/PortSettings.h"
#include "platform/StartupSettings.h"

namespace {

const QString Baud9600 = QStringLiteral("9600,N,8,1");
const QString CrLf = QStringLiteral("\r\n");
constexpr int BusyTimeOutMs = 3000;
constexpr int RxdTimeOutMs = 2000;
// How often a vanished device is looked for again.
constexpr int DeviceWatchMs = 1000;

} // namespace

SerialLink::SerialLink(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs,
                       LinkState &state, DebugSwitches &switches, Trace &trace,
                       CommStatusLine &status)
    : m_port(port)
    , m_loop(loop)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_state(state)
    , m_switches(switches)
    , m_trace(trace)
    , m_status(status)
    , m_baud(port, loop, settings, dialogs, state, switches, trace)
    , m_tmrBusyTimeOut(loop.createTimer())
    , m_tmrRxd(loop.createTimer())
    , m_tmrDeviceWatch(loop.createTimer())
    , m_sequences(loop, state)
    , m_portErrors(dialogs, state, switches, trace, status)
{
    m_tmrDeviceWatch->setIntervalMs(DeviceWatchMs);
    m_tmrDeviceWatch->setHandler([this] { lookForLostDevice(); });
    m_tmrBusyTimeOut->setIntervalMs(BusyTimeOutMs);
    m_tmrBusyTimeOut->setHandler([this] { tmrBusyTimeOut_Timer(); });
    m_tmrRxd->setIntervalMs(RxdTimeOutMs);
    m_tmrRxd->setHandler([this] { tmrRxd_Timer(); });
    m_port.setEventHandler([this](Port::Event event) { MSComm1_OnComm(event); });
}

SerialLink::~SerialLink()
{
    m_port.setEventHandler({});
}

QString SerialLink::deviceName() const
{
    if (!m_deviceOverride.isEmpty())
        return m_deviceOverride;
    return PortNames::deviceForPort(m_state.commPortNum);
}

QString SerialLink::comText() const
{
    return QStringLiteral("Com %1").arg(m_state.commPortNum);
}

// ---------------------------------------------------------------- connect

void SerialLink::subCommConnect()
{
    m_state.loggerConnected = false;
    m_state.captureReply = false;
    m_state.lineReady = false;
    m_state.txTimeoutMs = 3000;
    m_state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");

    const StartupSettings startup(m_settings);
    m_state.commPortNum = qint16(startup.getInt(QStringLiteral("CommPortNum"), 0, 0, 32767));
    m_state.loggerBaud = PortSettings::storedLoggerBaud(
        startup.get(QStringLiteral("Logger_Baud"), Baud9600));
    m_state.readyLevel = false;
    m_state.portSettings = m_state.loggerBaud;

    const QString comStatus = comText() + u'-' + m_state.loggerBaud.left(2);
    if (m_port.isOpen()) {
        m_port.close();
        Q_EMIT commPortIndicator(comText(), IndicatorColour::Red);
        Q_EMIT comStatusIndicator(comStatus, IndicatorColour::Red);
    }
    m_tmrDeviceWatch->stop();
    m_port.setPortName(deviceName());
    Q_EMIT commPortIndicator(comText(), IndicatorColour::Red);
    Q_EMIT comStatusIndicator(comStatus, IndicatorColour::Red);
    // Byte-wise raw input without flow control is what every Port gives;
    // only the line settings remain to apply.
    m_port.applySettings(m_state.portSettings);

    if (!m_port.isOpen()) {
        m_state.portUnavailable = false;
        subToggleComm();
        // Nothing to watch on a port that would not open; the caller reports it.
        if (m_state.portUnavailable)
            return;
    }
    startWatching();
}

void SerialLink::startWatching()
{
    subDTROn();
    subRTSOn();
    subStatusDCD();
    subWait(m_loop, m_state.commAbort, 2.0f);
    subCheckCTS();
}

void SerialLink::shutDown()
{
    m_sequences.shutDown();
    m_tmrBusyTimeOut->stop();
    m_tmrRxd->stop();
    m_tmrDeviceWatch->stop();
    m_state.loggerConnected = false;
    if (m_port.isOpen())
        m_port.close();
}

void SerialLink::subToggleComm()
{
    if (m_port.isOpen()) {
        m_port.close();
        // A closed port has no logger on it.
        if (m_state.loggerConnected)
            loggerGone();
    } else if (!m_port.open()) {
        m_state.portUnavailable = true;
        return;
    }
    const IndicatorColour colour = m_port.isOpen() ? IndicatorColour::DarkGreen
                                                   : IndicatorColour::Red;
    Q_EMIT commPortIndicator(comText(), colour);
    Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2), colour);
}

void SerialLink::subDTROn()
{
    m_port.setDtr(true);
    Q_EMIT dtrIndicator(IndicatorColour::Green);
}

void SerialLink::subDTROff()
{
    m_port.setDtr(false);
    Q_EMIT dtrIndicator(IndicatorColour::Red);
}

void SerialLink::subRTSOn()
{
    m_port.setRts(true);
    Q_EMIT rtsIndicator(IndicatorColour::Red);
}

void SerialLink::subRTSOff()
{
    m_port.setRts(false);
    Q_EMIT rtsIndicator(IndicatorColour::DarkGreen);
}

void SerialLink::subStatusDSR()
{
    const bool held = m_port.dsr();
    Q_EMIT dsrIndicator(held ? IndicatorColour::Green : IndicatorColour::Red);
    if (!held)
        m_state.loggerConnected = false;
}

void SerialLink::subStatusDCD()
{
    Q_EMIT dcdIndicator(m_port.cd() ? IndicatorColour::DarkGreen : IndicatorColour::Red);
}

bool SerialLink::fnCTS()
{
    // A closed port has no logger on it, whatever its CTS reads.
    return m_port.isOpen() && ctsLevel() == m_state.readyLevel;
}

// CTS as the logger drives it; at the ready level on a line without the handshake.
bool SerialLink::ctsLevel() const
{
    return m_handshake ? m_port.cts() : m_state.readyLevel;
}

void SerialLink::subClearBuffers()
{
    while (m_port.bytesWaiting() > 0)
        m_port.takeByte();
    m_port.discardOutput();
    m_state.stRxLine.clear();
    m_state.stLastLine.clear();
    m_state.stReply.clear();
}

void SerialLink::stopReceiveTimer()
{
    m_tmrRxd->stop();
}

// ---------------------------------------------------------------- connection watch

void SerialLink::subCheckCTS()
{
    // Judge CTS only once it has settled: a plug going in bounces. This loop
    // does not yield, so nothing else runs while the line is read.
    int busy = 0;
    int ready = 0;
    while (!(busy >= BusyReadings && ready == 0) && !(ready >= ReadyReadings && busy == 0)) {
        if (ctsLevel()) {
            ++busy;
            ready = 0;
        } else {
            ++ready;
            busy = 0;
        }
    }
    if (!fnCTS()) {
        Q_EMIT ctsIndicator(IndicatorColour::Red);
        m_tmrBusyTimeOut->start();
        return;
    }
    m_tmrBusyTimeOut->stop();
    Q_EMIT ctsIndicator(IndicatorColour::DarkGreen);
    Q_EMIT loggerIndicator(QStringLiteral("Logger Connected"), IndicatorColour::DarkGreen);
    if (m_state.loggerConnected) {
        Q_EMIT loggerIndicator(QStringLiteral("Logger Connected"), IndicatorColour::DarkGreen);
        return;
    }
    // Recognised now; everything that talks to it runs once this handler
    // has returned.
    m_state.loggerConnected = true;
    m_sequences.supersede([this] { newConnectionSequence(); });
}

void SerialLink::newConnectionSequence()
{
    // A failed first read leaves the logger marked connected, as it was
    // recognised; the operator is asked to reconnect it.
    if (!runNewConnection() || m_state.abandoned)
        return;
    m_state.loggerConnected = true;
    Q_EMIT loggerIndicator(QStringLiteral("Logger Connected"), IndicatorColour::DarkGreen);
}

bool SerialLink::runNewConnection()
{
    m_state.loggerConnected = true;
    Q_EMIT newConnectionStarting();
    m_port.applySettings(m_state.portSettings);
    subWait(m_loop, m_state.commAbort, 0.5f);
    subClearBuffers();

    m_status.show(QStringLiteral("NEW CONNECTION!"));
    Q_EMIT loggerIndicator(QStringLiteral("NEW CONNECTION"), IndicatorColour::DarkGreen);
    m_status.startBlanking();

    m_status.show(QStringLiteral("Sending G to reset bootloader"));
    subWait(m_loop, m_state.commAbort, 1.0f);
    m_port.write(QByteArrayLiteral("G"));
    subWait(m_loop, m_state.commAbort, 1.0f);
    m_status.startBlanking();

    return readFirstLines();
}

bool SerialLink::readFirstLines()
{
    QStringList lines;
    for (const char *address : {"0000", "0010", "0020"}) {
        const QString line = m_steps.readHexHeaderLine
                                 ? m_steps.readHexHeaderLine(QString::fromLatin1(address))
                                 : QString();
        if (m_state.abandoned)
            return false;
        if (m_state.commAbort) {
            Q_EMIT loggerIndicator(QStringLiteral("BAD CONNECTION--Restart (from subcheckCTS)"),
                                   IndicatorColour::Red);
            const int answer = m_dialogs.Message_Box(
                QStringLiteral("Problem Reading NEW Connection...") + CrLf
                    + QStringLiteral("Retry Read, or Cancel, then disconnect the logger and try again."),
                Dialogs::RetryCancel, QStringLiteral("NEW Connection Problem in subCheckCTS"));
            if (answer == Dialogs::Retry && m_steps.resetCommCommand)
                m_steps.resetCommCommand();
            return false;
        }
        lines << line.mid(6, 32);
    }
    if (m_state.abandoned)
        return false;
    const QString status = m_steps.readStatusByte ? m_steps.readStatusByte() : QString();
    Q_EMIT firstLinesRead(lines, status);
    if (m_steps.disableDump)
        m_steps.disableDump();
    if (m_steps.captureEvents)
        m_steps.captureEvents();
    if (!m_autoDownloadBypass) {
        if (m_steps.readHeader)
            m_steps.readHeader();
    } else {
        Q_EMIT showLoggerTab();
    }
    return true;
}

void SerialLink::tmrBusyTimeOut_Timer()
{
    m_tmrBusyTimeOut->stop();
    m_loop.post([this] { disconnectionCheck(); });
}

void SerialLink::disconnectionCheck()
{
    subWait(m_loop, m_state.commAbort, 0.35f);
    if (!fnCTS()) {
        loggerGone();
        return;
    }
    const QString text = QStringLiteral("False Disconnect Error");
    m_status.show(text);
    m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-03..False Disconnect Error in tmrBusyTimeOut"));
    if (m_switches.monitor)
        m_trace.subDebugPrintERR(text);
    m_status.startBlanking();
    subCheckCTS();
}

// The logger is gone: whatever was talking to it is abandoned, every display
// of it blanked, and the port is back at 9600 for the next one.
void SerialLink::loggerGone()
{
    m_sequences.abandonAll();
    m_state.loggerConnected = false;
    m_baud.selectBaud(false);
    Q_EMIT loggerIndicator(QStringLiteral("Logger Not Detected"), IndicatorColour::Red);
    subClearBuffers();
    Q_EMIT loggerLost();
}

// The device itself vanished (an adapter pulled out). That is no logger, not
// a line error: the displays go blank as for a lost logger and the device is
// looked for until it is back.
void SerialLink::deviceLost()
{
    m_tmrBusyTimeOut->stop();
    m_tmrRxd->stop();
    Q_EMIT commPortIndicator(comText(), IndicatorColour::Red);
    Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2), IndicatorColour::Red);
    Q_EMIT ctsIndicator(IndicatorColour::Red);
    m_status.show(QStringLiteral("Port device lost--waiting for it to return"));
    loggerGone();
    m_tmrDeviceWatch->start();
}

void SerialLink::lookForLostDevice()
{
    if (m_port.isOpen() || !m_port.open())
        return;
    m_tmrDeviceWatch->stop();
    m_port.applySettings(m_state.portSettings);
    Q_EMIT commPortIndicator(comText(), IndicatorColour::DarkGreen);
    Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2), IndicatorColour::DarkGreen);
    m_status.show(QStringLiteral("Port device back"));
    m_status.startBlanking();
    m_loop.post([this] { startWatching(); });
}

// ---------------------------------------------------------------- receive

// Runs inside the port's own event delivery: it only takes in what happened
// and queues whatever has to wait (boxes, sequences that talk to the logger).
void SerialLink::MSComm1_OnComm(Port::Event event)
{
    if (m_reassertingDtr && event != Port::Event::Receive)
        return; // the port's own complaint about re-asserting DTR for an error
    switch (event) {
    case Port::Event::Receive:
        m_tmrRxd->start();
        while (m_port.bytesWaiting() > 0) {
            const int byte = m_port.takeByte();
            if (byte < 0)
                break;
            receiveByte(QChar(m_switches.msbFix && byte > 127 ? byte - 128 : byte));
        }
        return;
    case Port::Event::CtsChange:
        subCheckCTS();
        return;
    case Port::Event::DeviceLost:
        m_loop.post([this] { deviceLost(); });
        return;
    case Port::Event::CdChange:
        subStatusDCD();
        postPortError(m_port.cd() ? QStringLiteral("Change in CD Detected - Green")
                                  : QStringLiteral("Change in CD Detected - RED"));
        return;
    case Port::Event::DsrChange:
        m_switches.beepOnError(m_dialogs);
        return;
    case Port::Event::EndOfFile:
        m_switches.beepOnError(m_dialogs);
        if (m_switches.monitor)
            m_trace.subDebugPrintERR(QStringLiteral("onComm--EOF Error"));
        return;
    case Port::Event::Break:
        return;
    case Port::Event::ReceiveOverflow:
        // What is left in the buffer is incomplete: drop it so no stale bytes
        // are taken for the start of the next reply.
        while (m_port.bytesWaiting() > 0)
            m_port.takeByte();
        postPortError(PortErrorReport::text(event));
        return;
    default:
        postPortError(PortErrorReport::text(event));
        return;
    }
}

void SerialLink::receiveByte(QChar c)
{
    if (c == u'?' && !m_state.loggerConnected) {
        onBootloaderPrompt(c);
        return;
    }
    Q_EMIT rxdAppended(QString(c));
    if (m_state.captureReply)
        m_state.stReply += c;
    if (c != u'\r') {
        m_state.stRxLine += c;
        return;
    }
    completeLine();
}

void SerialLink::completeLine()
{
    m_tmrRxd->stop();
    m_state.lineReady = true;
    m_state.stLastLine = m_state.stRxLine;
    if (m_switches.monitor)
        m_trace.receivedLine(m_state.stLastLine + QStringLiteral("[cr]"));
    Q_EMIT rxdAppended(QStringLiteral("[cr]"));
    Q_EMIT lineReceived(m_state.stLastLine);
    m_state.stRxLine.clear();
}

void SerialLink::onBootloaderPrompt(QChar c)
{
    m_status.show(QStringLiteral("stbuffer=>") + c + QStringLiteral("< ? in in buffer....bootloader active"));
    m_sequences.supersede([this] { bootloaderReconnect(); });
}

void SerialLink::bootloaderReconnect()
{
    m_dialogs.Message_Box(QStringLiteral("Logger was connected PRIOR to power up, or") + CrLf
                              + QStringLiteral("connection change was not recognized.") + CrLf
                              + QStringLiteral("Check if the battery is installed, and good.") + CrLf
                              + QStringLiteral("Click [OK]to continue.") + CrLf,
                          Dialogs::OkOnly, QStringLiteral("Boot or unrecognized CTS change."));
    if (m_steps.resetCommCommand)
        m_steps.resetCommCommand();
    m_status.startBlanking();
}

void SerialLink::tmrRxd_Timer()
{
    m_tmrRxd->stop();
    m_loop.post([this] { receiveTimedOut(); });
}

void SerialLink::receiveTimedOut()
{
    const QString text = QStringLiteral("Receive data timout--no vbCR");
    m_status.show(text);
    m_switches.beepOnError(m_dialogs);
    m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-04..RXD Timeout Timer Tripped (tmrRxd)"));
    if (m_switches.monitor)
        m_trace.subDebugPrintERR(text + QStringLiteral(" TmrRxd_Timer called. "));
    m_status.startBlanking();
}

// ---------------------------------------------------------------- port errors

void SerialLink::postPortError(const QString &text)
{
    m_loop.post([this, text] {
        // A port that cannot set DTR reports that as one more error; it must
        // not start this handling over again.
        m_reassertingDtr = true;
        subDTROn();
        m_reassertingDtr = false;
        m_portErrors.report(text);
    });
}
