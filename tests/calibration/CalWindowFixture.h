#pragma once

#include "calibration/FrmCalRoutine.h"
#include "tests/console/LoggerWindowFixture.h"
#include "ui_FrmCalRoutine.h"

#include <QLineEdit>

// The main window logged on to a simulated logger, with the calibration
// window at hand; today is fixed so due dates are known.
class CalWindowFixture : public LoggerWindowFixture
{
protected:
    static const QDate Today;

    explicit CalWindowFixture(const LoggerImage &image);

    // Logs on and opens the calibration window on the channel typed.
    void openChannel(const QString &channel);
    FrmCalRoutine &cal() { return window->calibrationWindow(); }
    Ui::FrmCalRoutine &calUi() { return cal().ui(); }
    QLineEdit *box(int number);
    // Types a box's text as an operator does.
    void type(int number, const QString &text);
    // The 16 characters at a header address of the logger's memory.
    QString loggerLine(int address) const;
    // The "d" writes the PC sent since the channel was opened, as address and text.
    QStringList textWrites() const;

private:
    qsizetype m_writtenBefore = 0;
};
