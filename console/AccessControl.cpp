#include "console/AccessControl.h"

#include "console/MainTab.h"
#include "console/MainWindowState.h"
#include "console/frmComm.h"
#include "console/frmEnterPassword.h"
#include "console/frmFactoryPassword.h"
#include "console/frmSetPassword.h"
#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

AccessControl::AccessControl(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    connect(m_p.ui.cmdCallFactory, &QPushButton::clicked, this, &AccessControl::cmdCallFactory_Click);
    connect(m_p.ui.cmdChangePassword, &QPushButton::clicked, this,
            &AccessControl::cmdChangePassword_Click);
}

bool AccessControl::passwordOK() const
{
    return m_p.state.passwordOK;
}

bool AccessControl::factoryMode() const
{
    return m_p.state.factoryMode;
}

QWidget *AccessControl::mainWindow() const
{
    return m_p.ui.SSTab1->window();
}

bool AccessControl::askCalibrationPassword()
{
    if (m_p.state.passwordOK)
        return true;
    // A fresh window each time, so a password changed meanwhile is the one asked for.
    frmEnterPassword prompt(m_p.settings.get(QStringLiteral("Password"), QStringLiteral("qqq")),
                            m_p.dialogs, mainWindow());
    m_p.dialogs.runModal(&prompt);
    if (prompt.passwordAccepted())
        m_p.state.passwordOK = true;
    else
        m_p.ui.SSTab1->setCurrentIndex(MainTab::CalData);
    return m_p.state.passwordOK;
}

bool AccessControl::askFactoryPassword()
{
    frmFactoryPassword prompt(m_p.dialogs, mainWindow());
    m_p.dialogs.runModal(&prompt);
    if (prompt.passwordAccepted()) {
        m_p.state.factoryMode = true;
        m_p.state.passwordOK = true;
    }
    return m_p.state.factoryMode;
}

void AccessControl::cmdCallFactory_Click()
{
    if (m_p.state.factoryMode) {
        toggleCommWindow();
        return;
    }
    if (askFactoryPassword())
        m_p.comm.show();
}

void AccessControl::toggleCommWindow()
{
    if (m_p.comm.isVisible())
        m_p.comm.hide();
    else
        m_p.comm.show();
}

void AccessControl::cmdChangePassword_Click()
{
    frmSetPassword change(m_p.settings, m_p.dialogs, mainWindow());
    m_p.dialogs.runModal(&change);
    // Changed or cancelled, the operator is back where the button is.
    m_p.ui.SSTab1->setCurrentIndex(MainTab::Defaults);
}
