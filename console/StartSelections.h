#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class QAbstractButton;
class ScanPeriodRules;
class StartupSettings;
struct LoggerHeader;
struct MainWindowState;
struct SetupState;

// The Setup tab as a whole: the fresh form on entering it, the project
// identification, and the start selections with their start and stop times.
class StartSelections : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        SetupState &setup;
        MainWindowState &state;
        Dialogs &dialogs;
        StartupSettings &settings;
        EventLoop &loop;
        const LoggerHeader &header;
    };

    StartSelections(const Parts &parts, ScanPeriodRules &period);

    // The tab click handler's part for the Setup tab: the form starts empty.
    void enterSetupTab();
    void OptStartNow_Click();
    void OptUseLast_Click();
    void cmdLowPower_Click();
    // False, after saying so, when channels and a period are there but no unit.
    bool SubScanSettingValid();

    static void switchOff(QAbstractButton *option);

private:
    void clearStartStopDisplays();

    Parts m_p;
    ScanPeriodRules &m_period;
};
