#include "link/SerialLink.h"

#include "logger/FunctionsSubs.h"
#include "platform/EventLoop.h"
#include "platform/Port.h"
#include "platform/PortNames.h"
#include "platform/StartupSettings.h"

SerialLink::SerialLink(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs)
    : m_port(port)
    , m_loop(loop)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_tmrTxd(loop.createTimer())
{
    m_tmrTxd->setIntervalMs(2000);
}

SerialLink::~SerialLink() = default;

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

void SerialLink::subCommConnect()
{
    m_state.loggerConnected = false;
    m_state.captureReply = false;
    m_state.lineReady = false;
    m_tmrTxd->setIntervalMs(3000);
    m_state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");

    const StartupSettings startup(m_settings);
    m_state.commPortNum = qint16(startup.getInt(QStringLiteral("CommPortNum"), 0, 0, 32767));
    m_state.loggerBaud = startup.get(QStringLiteral("Logger_Baud"), QStringLiteral("9600,N,8,1"));
    m_state.readyLevel = false;
    m_state.portSettings = m_state.loggerBaud;

    if (m_port.isOpen()) {
        m_port.close();
        Q_EMIT commPortIndicator(comText(), IndicatorColour::Red);
        Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2), IndicatorColour::Red);
    }
    m_port.setPortName(deviceName());
    Q_EMIT commPortIndicator(comText(), IndicatorColour::Red);
    Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2), IndicatorColour::Red);
    m_port.applySettings(m_state.portSettings);

    if (!m_port.isOpen()) {
        m_state.portUnavailable = false;
        subToggleComm();
        if (m_state.portUnavailable)
            return;
    }
    subDTROn();
    subRTSOn();
    subStatusDCD();
    subWait(m_loop, m_state.commAbort, 2.0f);
    subCheckCTS();
}

void SerialLink::subToggleComm()
{
    if (m_port.isOpen()) {
        m_port.close();
    } else if (!m_port.open()) {
        m_state.portUnavailable = true;
        return;
    }
    const IndicatorColour colour = m_port.isOpen() ? IndicatorColour::DarkGreen : IndicatorColour::Red;
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

void SerialLink::subStatusDCD()
{
    Q_EMIT dcdIndicator(m_port.cd() ? IndicatorColour::DarkGreen : IndicatorColour::Red);
}

void SerialLink::subCheckCTS()
{
    // Connection recognition comes with the connection watch.
}
