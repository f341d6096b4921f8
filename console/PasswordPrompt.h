#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class PasswordPrompt;
}
class Dialogs;

// A small modal window that asks for one password and closes only when it is
// given exactly or the operator cancels. A wrong password is reported and
// asked for again; the window stays open.
class PasswordPrompt : public QDialog
{
    Q_OBJECT

public:
    ~PasswordPrompt() override;

    Ui::PasswordPrompt &ui() { return *m_ui; }

    // The text of the box a wrong password brings, also used by the other
    // password windows.
    static QString incorrectPasswordText();

    // True once the right password closed the window.
    bool passwordAccepted() const { return m_accepted; }

protected:
    PasswordPrompt(const QString &password, Dialogs &dialogs, QWidget *parent);

    void showEvent(QShowEvent *event) override;

private:
    void cmdOK_Click();

    std::unique_ptr<Ui::PasswordPrompt> m_ui;
    Dialogs &m_dialogs;
    QString m_password;
    bool m_accepted = false;
};
