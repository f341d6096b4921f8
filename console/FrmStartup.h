#pragma once

#include "console/MainWindowState.h"
#include "console/SetupState.h"
#include "platform/StartupSettings.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class FrmStartup;
}
class AccessControl;
class CalDataTab;
class ClockDisplay;
class DefaultsTab;
class Dialogs;
class EventLoop;
class ConnectionWiring;
class InitializeCommand;
class LevelPasswords;
class LoggerConnection;
class LoggerStatusView;
class Printer;
class MemoryTestButtons;
class OpenDownloadCommand;
class RealTimeDisplay;
class RealTimePositions;
class RealTimeChart;
class SettingsStore;
class SetupRules;
class StartupController;
class frmComm;
class frmDebugPrint;
class FrmCalRoutine;
class CalibrationFileCommands;
class frmCalDataNotes;
class FactoryPageWiring;
class HeaderFileCommands;

// The main window: one tab control, through which the operator reaches everything.
class FrmStartup : public QMainWindow
{
    Q_OBJECT

public:
    struct Options
    {
        // Used when the stored data folder does not exist.
        QString defaultDataFolder;
        bool demoMode = false;
        // A device named on the command line, used in place of the numbered port.
        QString portDevice;
    };

    FrmStartup(EventLoop &loop, Dialogs &dialogs, Printer &printer, SettingsStore &store,
               LoggerConnection &connection, const Options &options, QWidget *parent = nullptr);
    ~FrmStartup() override;

    // The start-up sequence; run once, before the window is shown.
    void Form_Load();

    Ui::FrmStartup &ui() { return *m_ui; }
    MainWindowState &state() { return m_state; }
    SetupState &setup() { return m_setup; }
    frmComm &comm() { return *m_comm; }
    // The trace window, shown and hidden by the MONITOR box.
    frmDebugPrint &debugPrint() { return *m_debugPrint; }
    StartupController &startup() { return *m_startup; }
    ClockDisplay &clocks() { return *m_clocks; }
    DefaultsTab &defaults() { return *m_defaults; }
    LoggerStatusView &statusView() { return *m_statusView; }
    // The password gates; the calibration commands ask it before they act.
    AccessControl &access() { return *m_access; }
    RealTimeDisplay &realTime() { return *m_realTime; }
    RealTimePositions &positions() { return *m_positions; }
    RealTimeChart &chart() { return *m_chart; }
    // The calibration window, created on first use and kept for the run.
    FrmCalRoutine &calibrationWindow();
    // The Cal Data tab; the calibration window is plugged into it.
    CalDataTab &calData() { return *m_calData; }
    // The Help tab's data memory test, its buttons and displays.
    MemoryTestButtons &memoryTests() { return *m_memoryTests; }
    // "Open Download..." of the File menu; the data viewer windows.
    OpenDownloadCommand &openDownload() { return *m_openDownload; }

    void SSTab1_Click(int tab);
    void CmdExit_Click();
    void showHelpUnavailable();
    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void disableControlsStillToCome();
    void addKeyboardAccess(LoggerConnection &connection);
    void addPhRemoteDisplay(LoggerConnection &connection);
    void addRealTime(EventLoop &loop, LoggerConnection &connection);
    void addRealTimeChart(EventLoop &loop, LoggerConnection &connection);
    void hideCalibrationWindow();
    void addCalibration(EventLoop &loop, LoggerConnection &connection);
    void cmdPrintCalData_Click();
    void addFactoryPage(EventLoop &loop, LoggerConnection &connection, std::function<void()> download);
    void cmdPrint_Click();
    void addPrinting();

    std::unique_ptr<Ui::FrmStartup> m_ui;
    Dialogs &m_dialogs;
    Printer &m_printer;
    LoggerConnection &m_connection;
    StartupSettings m_settings;
    MainWindowState m_state;
    SetupState m_setup;
    std::unique_ptr<frmComm> m_comm;
    std::unique_ptr<frmDebugPrint> m_debugPrint;
    std::unique_ptr<DefaultsTab> m_defaults;
    std::unique_ptr<ClockDisplay> m_clocks;
    std::unique_ptr<SetupRules> m_setupRules;
    std::unique_ptr<StartupController> m_startup;
    // Owned by its place in the Data Logger tab.
    LoggerStatusView *m_statusView = nullptr;
    ConnectionWiring *m_wiring = nullptr;
    InitializeCommand *m_initialize = nullptr;
    AccessControl *m_access = nullptr;
    LevelPasswords *m_levelPasswords = nullptr;
    RealTimeDisplay *m_realTime = nullptr;
    RealTimePositions *m_positions = nullptr;
    RealTimeChart *m_chart = nullptr;
    SettingsStore &m_store;
    EventLoop &m_loop;
    std::unique_ptr<FrmCalRoutine> m_calWindow;
    CalDataTab *m_calData = nullptr;
    std::unique_ptr<CalibrationFileCommands> m_calFiles;
    frmCalDataNotes *m_calNotes = nullptr;
    std::unique_ptr<HeaderFileCommands> m_headerFiles;
    FactoryPageWiring *m_factoryWiring = nullptr;
    MemoryTestButtons *m_memoryTests = nullptr;
    OpenDownloadCommand *m_openDownload = nullptr;
};
