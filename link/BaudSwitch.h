#pragma once

#include "link/IndicatorColour.h"
#include "link/LinkState.h"

#include <QObject>
#include <functional>

class Dialogs;
class EventLoop;
class Port;
class SettingsStore;
class Trace;
struct DebugSwitches;

// Switches the line between 9600 and 115200 baud: the logger is told with
// "u" to follow the next message's rate, and a text write proves the new one.
class BaudSwitch : public QObject
{
    Q_OBJECT

public:
    // Sends one framed command (letter, address, separator, data, length).
    using SendCommand = std::function<void(QString, QString, QString, QString, qint16)>;

    BaudSwitch(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs,
               LinkState &state, DebugSwitches &switches, Trace &trace);

    void setSendCommand(SendCommand send) { m_sendCommand = std::move(send); }
    // The main window's auto-baud box.
    void setAutoBaud(bool on) { m_autoBaud = on; }

    // Selecting OptBaud115K (true) or OptBaud9600 (false).
    void selectBaud(bool highSpeed);
    // After a header read: go to 115200 when the logger and the operator allow it.
    void autoSwitchBaud();
    void subResetBaud();

Q_SIGNALS:
    // The baud option shown as selected.
    void baudSelected(bool highSpeed);
    // "Com 1-115", for the main window's port indicator.
    void comStatusIndicator(const QString &text, IndicatorColour colour);

private:
    QString comText() const;

    Port &m_port;
    EventLoop &m_loop;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    LinkState &m_state;
    DebugSwitches &m_switches;
    Trace &m_trace;
    SendCommand m_sendCommand;
    bool m_autoBaud = true;
};
