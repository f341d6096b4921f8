#include "console/frmEnterPassword.h"

frmEnterPassword::frmEnterPassword(const QString &calibrationPassword, Dialogs &dialogs,
                                   QWidget *parent)
    : PasswordPrompt(calibrationPassword, dialogs, parent)
{
    setObjectName(QStringLiteral("frmEnterPassword"));
    setWindowTitle(QStringLiteral("Enter Calibration Password"));
}
