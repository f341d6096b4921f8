#include "link/BaudSwitch.h"

#include "link/DebugSwitches.h"
#include "link/Trace.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/Port.h"
#include "platform/StartupSettings.h"

namespace {

const QString Baud9600 = QStringLiteral("9600,N,8,1");
const QString Baud115K = QStringLiteral("115200,N,8,1");
const QString CrLf = QStringLiteral("\r\n");

} // namespace

BaudSwitch::BaudSwitch(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs,
                       LinkState &state, DebugSwitches &switches, Trace &trace)
    : m_port(port)
    , m_loop(loop)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_state(state)
    , m_switches(switches)
    , m_trace(trace)
{
}

QString BaudSwitch::comText() const
{
    return QStringLiteral("Com %1").arg(m_state.commPortNum);
}

void BaudSwitch::selectBaud(bool highSpeed)
{
    const QString target = highSpeed ? Baud115K : Baud9600;
    if (m_state.portSettings.contains(highSpeed ? QStringLiteral("115200") : QStringLiteral("9600")))
        return;
    if (!m_state.loggerConnected) {
        if (highSpeed) {
            const QString text = QStringLiteral("Cannot change to 115KBaud--no logger connected.");
            if (m_switches.monitor)
                m_trace.subDebugPrintERR(text);
            m_dialogs.Message_Box(text, Dialogs::OkOnly,
                                  QStringLiteral("Baud Rate change Error Detected in subBaud 115 KB"));
            Q_EMIT baudSelected(false);
            return;
        }
        m_port.applySettings(Baud9600);
        m_state.portSettings = Baud9600;
        Q_EMIT baudSelected(false);
        return;
    }
    Q_EMIT baudSelected(highSpeed);
    if (m_sendCommand)
        m_sendCommand(QStringLiteral("u"), QString(), QString(), QString(), 0);
    subWait(m_loop, m_state.commAbort, 0.2f);
    m_port.applySettings(target);
    m_state.portSettings = target;
    subWait(m_loop, m_state.commAbort, 0.1f);
    const QString proof = highSpeed ? QStringLiteral("115.2KBaud123456")
                                    : QStringLiteral("9600Baud90123456");
    if (m_sendCommand)
        m_sendCommand(QStringLiteral("d"), QStringLiteral("02F0"), QStringLiteral("#"), proof, 16);
    if (m_switches.monitor)
        m_trace.subDebugPrintERR((highSpeed ? QStringLiteral("Baud rate set to 115 KB")
                                            : QStringLiteral("Baud rate set to 9.6 KB"))
                                 + CrLf);
    Q_EMIT comStatusIndicator(comText() + u'-' + (highSpeed ? QStringLiteral("115") : QStringLiteral("9.6")),
                              IndicatorColour::DarkGreen);
}

void BaudSwitch::autoSwitchBaud()
{
    if (m_state.portSettings.contains(QStringLiteral("9600")) && m_state.hiSpeedCapable && m_autoBaud)
        selectBaud(true);
}

void BaudSwitch::subResetBaud()
{
    m_state.loggerBaud = Baud9600;
    StartupSettings(m_settings).save(QStringLiteral("Logger_Baud"), m_state.loggerBaud);
    Q_EMIT comStatusIndicator(comText() + u'-' + m_state.loggerBaud.left(2),
                              m_port.isOpen() ? IndicatorColour::DarkGreen : IndicatorColour::Red);
}
