#pragma once

#include <QObject>
#include <functional>

class CommandTransport;
class Dialogs;
class EventLoop;
class Port;
class StatusByteCommands;
struct DebugSwitches;
struct LinkState;

// The main window's maintenance buttons: force stop, low-power stop, reset
// logger, bootloader restart and reload. The window calls these on a click;
// everything it shows comes back through signals or the status byte's own.
class MaintenanceButtons : public QObject
{
    Q_OBJECT

public:
    // Filled by the layer that owns the other end; an empty hook is skipped.
    struct Hooks
    {
        // subConfirmSN: reads the connected logger's identity and compares it
        // with the header shown; it must leave commAbort set when that logger
        // is not the one shown and the operator chooses Abort (or the read
        // fails), and clear when the operator goes on. The low-power stop and
        // the reset do nothing while commAbort is set after it.
        std::function<void()> confirmSN;
        // Refreshes the main window's current-reading display after a stop.
        std::function<void()> refreshCurrentReading;
        // subClearBuffers of the serial link.
        std::function<void()> clearBuffers;
        // The steps of the link reset that belong to the windows:
        // subClearFactoryDisplay, SubInitial_values and CheckCommPort (which
        // reopens the port, so the logger is found and read again).
        std::function<void()> clearFactoryDisplay;
        std::function<void()> initialValues;
        std::function<void()> checkCommPort;
    };

    MaintenanceButtons(StatusByteCommands &statusByte, CommandTransport &transport, Port &port,
                       LinkState &state, Dialogs &dialogs, EventLoop &loop,
                       const DebugSwitches &switches);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    void cmdForceStop();
    void cmdLoPower();
    void cmdResetLogger();
    void cmdBootloadReStart();
    // The Reload button (cmdLgrStatus).
    void cmdLgrStatus() { SubResetCommCommand(); }
    void SubResetCommCommand();

Q_SIGNALS:
    // The Help tab's "Reset Firmware" button (cmdBootloadReStart) is usable again.
    void bootloadRestartAvailable();
    // The main window shows its tab of this number (2: "Data Logger").
    void mainTabSelected(int tab);

private:
    void run(const std::function<void()> &hook);
    bool confirmedLogger();

    StatusByteCommands &m_statusByte;
    CommandTransport &m_transport;
    Port &m_port;
    LinkState &m_state;
    Dialogs &m_dialogs;
    EventLoop &m_loop;
    const DebugSwitches &m_switches;
    Hooks m_hooks;
};
