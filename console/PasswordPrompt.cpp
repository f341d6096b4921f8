#include "console/PasswordPrompt.h"

#include "platform/Dialogs.h"
#include "ui_PasswordPrompt.h"

PasswordPrompt::PasswordPrompt(const QString &password, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::PasswordPrompt>())
    , m_dialogs(dialogs)
    , m_password(password)
{
    m_ui->setupUi(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &PasswordPrompt::cmdOK_Click);
    // Escape and the window's close button cancel as the Cancel button does.
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

PasswordPrompt::~PasswordPrompt() = default;

QString PasswordPrompt::incorrectPasswordText()
{
    return QStringLiteral("The password you entered is incorrect.\r\n\r\n"
                          "Please reenter your password to continue\r"
                          "or select Cancel.");
}

void PasswordPrompt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_ui->txtPassword->setFocus();
}

void PasswordPrompt::cmdOK_Click()
{
    // Compared exactly: letter case counts, and an empty password is one.
    if (m_ui->txtPassword->text() == m_password) {
        m_accepted = true;
        m_ui->txtPassword->clear();
        accept();
        return;
    }
    m_dialogs.Message_Box(incorrectPasswordText(), int(Dialogs::OkOnly) | Dialogs::Exclamation,
                          QStringLiteral("Reenter Password"));
    m_ui->txtPassword->clear();
    m_ui->txtPassword->setFocus();
}
