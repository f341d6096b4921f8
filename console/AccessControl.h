#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class StartupSettings;
class frmComm;
struct MainWindowState;

// The two passwords of the program: the calibration password, asked at most
// once a run before the calibration commands act, and the fixed factory
// password behind the "&f" button, which opens the communications window and
// also stands for the calibration password. Also "Set / Change Calibration
// Password" on the Defaults tab.
class AccessControl : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        MainWindowState &state;
        StartupSettings &settings;
        Dialogs &dialogs;
        frmComm &comm;
    };

    explicit AccessControl(const Parts &parts, QObject *parent = nullptr);

    bool passwordOK() const;
    bool factoryMode() const;

    // The calibration commands' gate. Asks for the calibration password when
    // it has not been given this run; returns true when it has been, now or
    // before. A cancelled prompt leaves the Cal Data tab selected.
    bool askCalibrationPassword();

    void cmdCallFactory_Click();
    void cmdChangePassword_Click();

private:
    QWidget *mainWindow() const;
    bool askFactoryPassword();
    void toggleCommWindow();

    Parts m_p;
};
