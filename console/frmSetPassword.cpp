#include "console/frmSetPassword.h"

#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "ui_frmSetPassword.h"

frmSetPassword::frmSetPassword(StartupSettings &settings, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmSetPassword>())
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_password(settings.get(QStringLiteral("Password"), QStringLiteral("qqq")))
{
    m_ui->setupUi(this);
    connect(m_ui->cmdOldOK, &QPushButton::clicked, this, &frmSetPassword::cmdOldOK_Click);
    connect(m_ui->cmdChangeOK, &QPushButton::clicked, this, &frmSetPassword::cmdChangeOK_Click);
    connect(m_ui->cmdCancelChange, &QPushButton::clicked, this, &QDialog::reject);
    // With no password there is nothing old to prove.
    if (m_password.isEmpty())
        showNewPasswordStage(QStringLiteral("Please Enter new password twice then click OK."));
    else
        showOldPasswordStage();
}

frmSetPassword::~frmSetPassword() = default;

void frmSetPassword::offerOldPassword(bool offered)
{
    for (QWidget *item : {static_cast<QWidget *>(m_ui->lblOldPassword), static_cast<QWidget *>(m_ui->txtOldPassword),
                          static_cast<QWidget *>(m_ui->cmdOldOK)})
        item->setVisible(offered);
    m_ui->cmdOldOK->setDefault(offered);
}

void frmSetPassword::offerNewPassword(bool offered)
{
    for (QWidget *item : {static_cast<QWidget *>(m_ui->lblNewPassword), static_cast<QWidget *>(m_ui->txtNewPassword),
                          static_cast<QWidget *>(m_ui->lblReenterNewPassword),
                          static_cast<QWidget *>(m_ui->txtReenterNewPassword),
                          static_cast<QWidget *>(m_ui->cmdChangeOK)})
        item->setVisible(offered);
    m_ui->cmdChangeOK->setDefault(offered);
}

void frmSetPassword::showOldPasswordStage()
{
    m_stage = Stage::OldPassword;
    offerNewPassword(false);
    offerOldPassword(true);
    m_ui->txtOldPassword->clear();
    m_ui->FrameChangePassword->setTitle(QStringLiteral("Please Enter Your Old Password then Click OK."));
}

void frmSetPassword::showNewPasswordStage(const QString &instruction)
{
    m_stage = Stage::NewPassword;
    offerOldPassword(false);
    offerNewPassword(true);
    m_ui->txtNewPassword->clear();
    m_ui->txtReenterNewPassword->clear();
    m_ui->FrameChangePassword->setTitle(instruction);
}

void frmSetPassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    focusFirstField();
}

void frmSetPassword::focusFirstField()
{
    if (m_stage == Stage::OldPassword)
        m_ui->txtOldPassword->setFocus();
    else
        m_ui->txtNewPassword->setFocus();
}

void frmSetPassword::cmdOldOK_Click()
{
    if (m_ui->txtOldPassword->text() == m_password) {
        showNewPasswordStage(QStringLiteral("Enter new password twice then click OK."));
        focusFirstField();
        return;
    }
    m_dialogs.Message_Box(QStringLiteral("Please reenter old password."), Dialogs::OkOnly,
                          QStringLiteral("Old Password Incorrect"));
    m_ui->txtOldPassword->clear();
    m_ui->txtOldPassword->setFocus();
}

void frmSetPassword::cmdChangeOK_Click()
{
    // Exactly equal, letter case included; two empty fields make an empty password.
    if (m_ui->txtNewPassword->text() == m_ui->txtReenterNewPassword->text()) {
        m_password = m_ui->txtNewPassword->text();
        m_settings.save(QStringLiteral("Password"), m_password);
        m_dialogs.Message_Box(QStringLiteral("Your password has been changed."), Dialogs::OkOnly,
                              QStringLiteral("Password Changed"));
        accept();
        return;
    }
    m_dialogs.Message_Box(QStringLiteral("Please reenter new password."), Dialogs::OkOnly,
                          QStringLiteral("Password verification failed."));
    m_ui->txtNewPassword->clear();
    m_ui->txtReenterNewPassword->clear();
    m_ui->txtNewPassword->setFocus();
}
