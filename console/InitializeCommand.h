#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace Ui {
class FrmStartup;
}
class DefaultsTab;
class Dialogs;
class LoggerConnection;
class SetupRules;
struct MainWindowState;
struct SetupState;
struct TestSetup;

// "Initialize Logger" on the Setup tab: the checks of the composed setup,
// the monitor warnings, the confirmation, the guard against a test that was
// never downloaded, and the upload itself through the logger's
// initialization. A refusal at any check leaves the logger untouched.
class InitializeCommand : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        SetupState &setup;
        MainWindowState &state;
        SetupRules &setupRules;
        LoggerConnection &connection;
        Dialogs &dialogs;
        DefaultsTab &defaults;
    };

    explicit InitializeCommand(const Parts &parts, QObject *parent = nullptr);

    // The pH remote display setup window, opened modally before the upload
    // when the remote display box is ticked and channel 1 measures pH.
    void setPhSetupWindow(std::function<void()> open) { m_openPhSetup = std::move(open); }

    void CmdInitialize_Click();
    // The operator accepted the "Data Not Downloaded Warning".
    void initializeAfterWarning();

    // The confirmation text of the upload ("Up-load message").
    // The setup as the initialization writes it.
    TestSetup testSetup() const;

private:
    bool checkChannelsAndPeriod();
    bool acceptMonitorWarnings();
    void prepareUpload();
    bool confirmUpload();
    bool checkPeriodSeconds();
    void takeStartAndStopFromDisplays();
    void upload();

    Parts m_p;
    std::function<void()> m_openPhSetup;
};
