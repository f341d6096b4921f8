#pragma once

#include "console/PasswordPrompt.h"

// Asks for the calibration password before the calibration commands act.
class frmEnterPassword : public PasswordPrompt
{
    Q_OBJECT

public:
    // The calibration password as stored when the window opens.
    frmEnterPassword(const QString &calibrationPassword, Dialogs &dialogs, QWidget *parent = nullptr);
};
