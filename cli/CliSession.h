#pragma once

#include <QString>
#include <functional>
#include <memory>

class CliDialogs;
class CliProgress;
class DemoLogger;
class LoggerConnection;
class QtEventLoop;
class QtSerialPort;
class SettingsStore;
struct CliOptions;

// One logger on one port, as the windowed program wires it but without
// windows: the Qt event loop, the settings store, the serial port (or the
// demo logger), the connection with the hooks only the windows would fill
// taken from the logger itself, and the wait for the logger and its header.
class CliSession
{
public:
    CliSession(const CliOptions &options, CliDialogs &dialogs, CliProgress &progress);
    ~CliSession();

    // Opens the port, waits for a logger and reads its header. An exit code:
    // Done, NoLogger or LinkFailure (the reason printed on stderr).
    int connect();
    // Runs a command that talks to the logger as the link's one sequence.
    void run(const std::function<void()> &command);
    // Lets the loop run until done() or the time is up; false on time-out.
    bool waitFor(const std::function<bool()> &done, double seconds);
    // The demo logger's image is saved and the port closed.
    void close();

    LoggerConnection &connection() { return *m_connection; }
    QtEventLoop &loop() { return *m_loop; }
    SettingsStore &settings() { return *m_settings; }
    QString dataFolder() const;
    QString device() const { return m_device; }
    // What the main window's labels would show: its status line (with the
    // battery stop date) and its alert text, as the status byte told them.
    QString statusLine() const { return m_statusLine + QStringLiteral(" --- ") + m_stopDate; }
    QString alertText() const { return m_alert; }

private:
    bool openDemo();
    void wireCapture();
    void followTexts();

    const CliOptions &m_options;
    CliDialogs &m_dialogs;
    CliProgress &m_progress;
    std::unique_ptr<QtEventLoop> m_loop;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QtSerialPort> m_serialPort;
    std::unique_ptr<DemoLogger> m_demo;
    std::unique_ptr<LoggerConnection> m_connection;
    QString m_device;
    bool m_closed = false;
    QString m_statusLine;
    QString m_stopDate;
    QString m_alert;
};
