#pragma once

#include "logger/SetupCalculations.h"

#include <QObject>
#include <functional>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class QButtonGroup;
class QRadioButton;
class StartupSettings;
struct LinkState;
struct SetupState;

// The scan period field and its unit options: validation of what is typed,
// and, once a unit is chosen, the maximum scans, the logging duration and the
// planned stop that follow from it.
class ScanPeriodRules : public QObject
{
    Q_OBJECT

public:
    using Unit = SetupCalculations::Unit;

    struct Parts
    {
        Ui::FrmStartup &ui;
        SetupState &setup;
        Dialogs &dialogs;
        StartupSettings &settings;
        const LinkState &link;
    };

    explicit ScanPeriodRules(const Parts &parts);

    // Runs after SubClearSettings-style changes: the routine that clears the settings.
    void setClearSettings(std::function<void()> clear) { m_clearSettings = std::move(clear); }
    // The "Start Now Stop Memory Full" handler, run at the end of an accepted unit.
    void setStartNow(std::function<void()> startNow) { m_startNow = std::move(startNow); }

    void TxtScanPeriod_GotFocus();
    // False when the text is refused; the field then keeps the focus.
    bool TxtScanPeriod_Validate();
    void OptUnit_Click(Unit unit);

    void subSetCalInt();
    void SubMaxScans();
    void SubLoggingDuration();
    void showDurationMessage();
    void SubStopDate();
    // A new header: no calibration scans, and their frame withdrawn.
    void clearCalInterval();

    Unit selectedUnit() const;
    void switchOffUnits();
    QRadioButton *unitOption(Unit unit) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool refuseText(const QString &text, bool emptyField);
    void rejectPeriod(Unit unit, SetupCalculations::PeriodCheck check);
    bool confirmShortPeriod(double value);
    void showCalInterval();

    Parts m_p;
    QButtonGroup *m_units;
    std::function<void()> m_clearSettings;
    std::function<void()> m_startNow;
    bool m_validating = false;
};
