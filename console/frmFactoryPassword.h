#pragma once

#include "console/PasswordPrompt.h"

// Asks for the factory password, which opens the communications window's
// factory page and also stands for the calibration password.
class frmFactoryPassword : public PasswordPrompt
{
    Q_OBJECT

public:
    explicit frmFactoryPassword(Dialogs &dialogs, QWidget *parent = nullptr);

    // Fixed in the program: every copy of it has the same one.
    static const QString FactoryPassword;
};
