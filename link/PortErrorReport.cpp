#include "link/PortErrorReport.h"

#include "link/CommStatusLine.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "platform/Dialogs.h"

#include <QStringList>

PortErrorReport::PortErrorReport(Dialogs &dialogs, LinkState &state, DebugSwitches &switches,
                                 Trace &trace, CommStatusLine &status)
    : m_dialogs(dialogs)
    , m_state(state)
    , m_switches(switches)
    , m_trace(trace)
    , m_status(status)
{
}

QString PortErrorReport::text(Port::Event event)
{
    switch (event) {
    case Port::Event::CtsTimeout: return QStringLiteral("CTS Timeout");
    case Port::Event::DsrTimeout: return QStringLiteral("DSR Timeout");
    case Port::Event::CdTimeout: return QStringLiteral("Carrier Detect Timeout");
    case Port::Event::Framing: return QStringLiteral("Framing Error");
    case Port::Event::Overrun: return QStringLiteral("Overrun Error");
    case Port::Event::ReceiveOverflow: return QStringLiteral("Rxd Buffer Overflow");
    case Port::Event::Parity: return QStringLiteral("Parity Error");
    case Port::Event::TransmitFull: return QStringLiteral("Transmit stBuffer Full");
    case Port::Event::ConfigurationError: return QStringLiteral("Error retrieving DCB");
    case Port::Event::Ring: return QStringLiteral("Dingy Ringy");
    default: return QStringLiteral("Unknown error or event");
    }
}

void PortErrorReport::report(const QString &text)
{
    if (m_switches.monitor)
        m_trace.subDebugPrintERR(text + QStringLiteral("in OnComm"));
    m_switches.beepOnError(m_dialogs);
    m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-01..OnCOMM Error in OnComm"));
    m_status.append(text);
    m_status.startBlanking();
    if (!m_state.loggerConnected)
        return;
    m_dialogs.beep();
    const QString empty;
    const QStringList lines = {
        QStringLiteral("WARNING !  Communications Hardware Error!"),
        empty,
        QStringLiteral("The system has encountered a ") + text,
        empty,
        QStringLiteral("Click 'OK' to abort the current download, then disconnect the logger."),
        empty,
        QStringLiteral("You may be able to successfully download the data by forcing the system "),
        QStringLiteral("to operate at 9600 Baud only.  Click on the DEFAULT tab, and UN-Click "),
        QStringLiteral("the option to enable the AutoBaud option (i.e. disable autobaud select), "),
        QStringLiteral("Then reconnect the logger to start operation at the lower baud rate,"),
        QStringLiteral("and retry downloading the data."),
        empty,
        QStringLiteral("This error may indicate that your PC does not have the speed to properly"),
        QStringLiteral("handle high speed communication.  "),
        empty,
        QStringLiteral("Please contact KORVAN, Inc. for diagnosis & repair."),
    };
    m_dialogs.Message_Box(lines.join(QStringLiteral("\r\n")), Dialogs::OkOnly,
                          QStringLiteral("OnComm Event Error Trap"));
    m_state.cancelDownload = true;
}
