#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
}
class ClockDisplay;
class DefaultsTab;
class Dialogs;
class SerialLink;
class SetupRules;
class StartupSettings;
class frmComm;
struct MainWindowState;
struct SetupState;

// Start-up, Log On and the choice of serial port: the main window's way from
// the start page to a logger.
class StartupController : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        MainWindowState &state;
        SetupState &setup;
        StartupSettings &settings;
        Dialogs &dialogs;
        SerialLink &link;
        frmComm &comm;
        DefaultsTab &defaults;
        ClockDisplay &clocks;
        SetupRules &setupRules;
        // The data folder used when the stored one is missing.
        QString defaultDataFolder;
        // In demo mode the simulated logger is the port: nothing to choose.
        bool demoMode = false;
        // A device named on the command line, used in place of the numbered port.
        QString portDevice;
    };

    explicit StartupController(const Parts &parts);

    void Form_Load();
    void GetRegistrySettings();
    void CmdLogOn_Click();
    void SubInitial_values();
    // ScanPeriod and ScanPeriodUnit back onto the Setup tab, the unit's
    // option chosen and clicked so its handler runs.
    void restoreScanPeriod();
    void CheckCommPort();
    void OptComm_Click(int port);

    static QString startupMessage();

private:
    void checkDataFolder();
    void reportPortUnavailable();
    QString triedDevice() const;
    void selectPortOption(int port);
    void enableTabs(std::initializer_list<int> tabs, bool enabled);

    Parts m_p;
};
