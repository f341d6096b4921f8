#include "console/frmFactoryPassword.h"

const QString frmFactoryPassword::FactoryPassword = QStringLiteral("wkx");

frmFactoryPassword::frmFactoryPassword(Dialogs &dialogs, QWidget *parent)
    : PasswordPrompt(FactoryPassword, dialogs, parent)
{
    setObjectName(QStringLiteral("frmFactoryPassword"));
    setWindowTitle(QStringLiteral("Factory Password"));
}
