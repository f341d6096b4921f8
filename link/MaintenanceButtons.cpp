#include "link/MaintenanceButtons.h"

#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/StatusByteCommands.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/Port.h"

namespace {

const QString StopTitle = QStringLiteral("Stop Logging message");

} // namespace

MaintenanceButtons::MaintenanceButtons(StatusByteCommands &statusByte, CommandTransport &transport,
                                       Port &port, LinkState &state, Dialogs &dialogs,
                                       EventLoop &loop, const DebugSwitches &switches)
    : m_statusByte(statusByte)
    , m_transport(transport)
    , m_port(port)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_loop(loop)
    , m_switches(switches)
{
}

void MaintenanceButtons::run(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

bool MaintenanceButtons::confirmedLogger()
{
    run(m_hooks.confirmSN);
    return !m_state.commAbort;
}

// The last resort: "m" straight away, whatever the logger's state, and no
// status byte bookkeeping.
void MaintenanceButtons::cmdForceStop()
{
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("LAST RESORT METHOD TO STOP LOGGING!\rALL DATA MAY BE LOST!\r\n"
                       "Ok to stop logging. Cancel to continue."),
        int(Dialogs::OkCancel) | Dialogs::Information, StopTitle);
    if (answer == Dialogs::Cancel)
        return;
    run(m_hooks.clearBuffers);
    m_transport.sendCommand(QStringLiteral("m"));
    if (m_state.commAbort)
        m_dialogs.Message_Box(QStringLiteral("subDisableLogging /m/ command write error stop "
                                             "logging--error status may be lost!"),
                              int(Dialogs::OkOnly) | Dialogs::Critical,
                              QStringLiteral("subDisableLogging, /m/ write error"));
    subWait(m_loop, m_state.commAbort, 1.0f);
    m_statusByte.subSBRead();
}

void MaintenanceButtons::cmdLoPower()
{
    if (!confirmedLogger() || !m_statusByte.loggingActive())
        return;
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("Please confirm that you want to stop the logger.\r"
                       "Ok to stop logging. Cancel to continue."),
        int(Dialogs::OkCancel) | Dialogs::Information, StopTitle);
    if (answer == Dialogs::Cancel)
        return;
    m_statusByte.subDisableLogging();
    run(m_hooks.refreshCurrentReading);
}

void MaintenanceButtons::cmdResetLogger()
{
    if (!confirmedLogger())
        return;
    m_dialogs.beep();
    if (m_switches.debugPrint)
        m_dialogs.beep();
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("Do you really want to stop the logger to reset?"),
        int(Dialogs::YesNo) | Dialogs::Question | Dialogs::DefaultButton2,
        QStringLiteral("Stop for reset?"));
    if (answer == Dialogs::No)
        return;
    m_statusByte.subDisableLogging();
    m_statusByte.subSBWrite(0);
    m_dialogs.Message_Box(QStringLiteral("Press reload logger button to update data and display."),
                          int(Dialogs::OkOnly) | Dialogs::Information, QStringLiteral("ResetLogger"));
}

// "G" goes raw: the bootloader takes no framing and answers nothing.
void MaintenanceButtons::cmdBootloadReStart()
{
    subWait(m_loop, m_state.commAbort, 0.5f);
    m_port.write(QByteArrayLiteral("G"));
    subWait(m_loop, m_state.commAbort, 1.0f);
}

void MaintenanceButtons::SubResetCommCommand()
{
    Q_EMIT bootloadRestartAvailable();
    m_state.loggerConnected = false;
    run(m_hooks.clearFactoryDisplay);
    run(m_hooks.initialValues);
    run(m_hooks.checkCommPort);
    Q_EMIT mainTabSelected(2);
}
