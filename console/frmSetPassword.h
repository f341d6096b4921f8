#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmSetPassword;
}
class Dialogs;
class StartupSettings;

// Changes the calibration password: the old one first, when there is one,
// then the new one twice.
class frmSetPassword : public QDialog
{
    Q_OBJECT

public:
    enum class Stage { OldPassword, NewPassword };

    // Reads the stored calibration password and opens in the stage it calls for.
    frmSetPassword(StartupSettings &settings, Dialogs &dialogs, QWidget *parent = nullptr);
    ~frmSetPassword() override;

    Ui::frmSetPassword &ui() { return *m_ui; }
    Stage stage() const { return m_stage; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void offerOldPassword(bool offered);
    void offerNewPassword(bool offered);
    void showOldPasswordStage();
    void showNewPasswordStage(const QString &instruction);
    void focusFirstField();
    void cmdOldOK_Click();
    void cmdChangeOK_Click();

    std::unique_ptr<Ui::frmSetPassword> m_ui;
    StartupSettings &m_settings;
    Dialogs &m_dialogs;
    QString m_password;
    Stage m_stage = Stage::OldPassword;
};
