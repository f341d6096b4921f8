#include "console/ScanPeriodRules.h"

#include "console/ClockDisplay.h"
#include "console/MainTab.h"
#include "console/SetupState.h"
#include "link/LinkState.h"
#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

#include <QButtonGroup>
#include <QFocusEvent>

using namespace SetupCalculations;

namespace {

const QString Cr = QStringLiteral("\r");

// Above this, in hours mode, the battery rather than the memory ends the test.
constexpr double LongDurationSeconds = 7e7;
constexpr double ShortPeriodSeconds = 10;

QString shortDurationText(double value)
{
    return QStringLiteral("At a rate less than 10 Secs") + Cr
        + QStringLiteral("communication with the Logger") + Cr + QStringLiteral("will be unreliable.")
        + Cr + QStringLiteral("Status/Error information will be lost.") + Cr + QStringLiteral("\n")
        + Cr + QStringLiteral("Do you want to continue at the") + Cr + QStringLiteral("rate of ")
        + QString::number(value, 'g', 15) + QStringLiteral(" Secs?");
}

} // namespace

ScanPeriodRules::ScanPeriodRules(const Parts &parts)
    : QObject(parts.ui.tabSetup)
    , m_p(parts)
    , m_units(new QButtonGroup(this))
{
    // The unit options share the tab with other options; a group of their
    // own keeps a click on the chosen unit from switching it off.
    for (Unit unit : {Unit::Hours, Unit::Minutes, Unit::Secs}) {
        QRadioButton *option = unitOption(unit);
        m_units->addButton(option);
        connect(option, &QRadioButton::clicked, this, [this, unit] { OptUnit_Click(unit); });
    }
    m_p.ui.TxtScanPeriod->installEventFilter(this);
    m_p.ui.fraCalScan->hide();
}

QRadioButton *ScanPeriodRules::unitOption(Unit unit) const
{
    switch (unit) {
    case Unit::Hours:
        return m_p.ui.OptHrs;
    case Unit::Minutes:
        return m_p.ui.OptMins;
    case Unit::Secs:
        return m_p.ui.OptSecs;
    case Unit::None:
        break;
    }
    return nullptr;
}

ScanPeriodRules::Unit ScanPeriodRules::selectedUnit() const
{
    for (Unit unit : {Unit::Hours, Unit::Minutes, Unit::Secs})
        if (unitOption(unit)->isChecked())
            return unit;
    return Unit::None;
}

void ScanPeriodRules::switchOffUnits()
{
    // Exclusive buttons cannot all be off unless exclusivity is lifted for the moment.
    m_units->setExclusive(false);
    for (QAbstractButton *unit : m_units->buttons())
        unit->setChecked(false);
    m_units->setExclusive(true);
}

bool ScanPeriodRules::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Only the operator moving into the field counts: the focus the tab
        // page hands on when it is shown, or that comes back with the window,
        // must not clear a unit just chosen.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if ((reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason
             || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            && !m_validating)
            TxtScanPeriod_GotFocus();
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Another window coming up (our own message box among them) or the
        // tab being left is not the operator moving on to another entry.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || m_validating
            || !m_p.ui.TxtScanPeriod->isVisible())
            return QObject::eventFilter(watched, event);
        m_validating = true;
        const bool accepted = TxtScanPeriod_Validate();
        if (!accepted)
            m_p.ui.TxtScanPeriod->setFocus(Qt::OtherFocusReason);
        m_validating = false;
        // A refused entry never lost the focus, so the field keeps its cursor.
        return !accepted;
    }
    return QObject::eventFilter(watched, event);
}

void ScanPeriodRules::TxtScanPeriod_GotFocus()
{
    // Each handler finds its option off and does nothing, so this only clears them.
    switchOffUnits();
    for (Unit unit : {Unit::Hours, Unit::Minutes, Unit::Secs})
        OptUnit_Click(unit);
    m_p.ui.TxtProjIdent->clear();
}

bool ScanPeriodRules::TxtScanPeriod_Validate()
{
    const QString text = m_p.ui.TxtScanPeriod->text();
    double value = 0;
    const QString title = QStringLiteral("Scan Period");
    if (text == QStringLiteral("0")) {
        m_p.dialogs.Message_Box(QStringLiteral("Value other than 0 must be entered"), Dialogs::OkOnly, title);
        m_p.ui.TxtScanPeriod->clear();
        return false;
    }
    if (text.isEmpty()) {
        m_p.dialogs.Message_Box(QStringLiteral("Entry cannot be left blank"), Dialogs::OkOnly, title);
        return false;
    }
    if (!StartupSettings::parseNumber(text, &value)) {
        m_p.dialogs.Message_Box(QStringLiteral("Entry must be numeric."), Dialogs::OkOnly, title);
        m_p.ui.TxtScanPeriod->clear();
        return false;
    }
    m_p.settings.save(QStringLiteral("ScanPeriod"), text);
    if (m_clearSettings)
        m_clearSettings();
    return true;
}

void ScanPeriodRules::OptUnit_Click(Unit unit)
{
    QRadioButton *option = unitOption(unit);
    // Run with its option off (the scan period field taking the focus), a
    // unit handler does nothing: no unit is saved that the operator did not choose.
    if (!option->isChecked())
        return;
    if (!m_p.link.loggerConnected || m_p.ui.SSTab1->currentIndex() != MainTab::Setup)
        return;
    if (m_p.ui.TxtScanPeriod->text().isEmpty()) {
        m_p.ui.TxtScanPeriod->setFocus(Qt::OtherFocusReason);
        return;
    }
    double value = 0;
    m_p.setup.scanPeriodValue = StartupSettings::parseNumber(m_p.ui.TxtScanPeriod->text(), &value) ? value : 0;
    const PeriodCheck check = checkPeriod(unit, m_p.setup.scanPeriodValue);
    if (check != PeriodCheck::Accepted) {
        rejectPeriod(unit, check);
        return;
    }

    {
        QRadioButton *startNow = m_p.ui.OptStartNow;
        startNow->setAutoExclusive(false);
        startNow->setChecked(false);
        startNow->setAutoExclusive(true);
    }
    const QString saved = unit == Unit::Hours ? QStringLiteral("Hrs")
                          : unit == Unit::Minutes ? QStringLiteral("Min")
                                                  : QStringLiteral("Sec");
    m_p.settings.save(QStringLiteral("ScanPeriodUnit"), saved);
    if (unit == Unit::Secs && m_p.setup.scanPeriodValue < ShortPeriodSeconds
        && !confirmShortPeriod(m_p.setup.scanPeriodValue))
        return;

    subSetCalInt();
    SubMaxScans();
    SubLoggingDuration();
    showDurationMessage();
    if (unit == Unit::Hours && m_p.setup.durationSeconds > LongDurationSeconds) {
        m_p.dialogs.Message_Box(QStringLiteral("Exceptionally long logging period, ensure battery is fresh"),
                                int(Dialogs::OkOnly) | Dialogs::Information,
                                QStringLiteral("Long Logging Duration"));
    }
    SubStopDate();
    m_p.ui.tabSetup->update();
    if (m_startNow)
        m_startNow();
}

bool ScanPeriodRules::confirmShortPeriod(double value)
{
    return m_p.dialogs.Message_Box(shortDurationText(value), Dialogs::OkCancel,
                                   QStringLiteral("Short Duration"))
        != Dialogs::Cancel;
}

void ScanPeriodRules::rejectPeriod(Unit unit, PeriodCheck check)
{
    QString title;
    QString text;
    switch (check) {
    case PeriodCheck::HoursTooSmall:
        title = QStringLiteral("Logging Duration");
        text = QStringLiteral("Scan Period must be greater than 0.1 hours for hour selection");
        break;
    case PeriodCheck::HoursTooLarge:
        title = QStringLiteral("Invalid time period");
        text = QStringLiteral("Scan interval cannot exceed 18.2 hours, Please re-enter scan period");
        break;
    case PeriodCheck::MinutesOutOfRange:
        title = QStringLiteral("Minutes Duration");
        text = QStringLiteral(
            "Scan Period must be greater than 0.1 minutes and less than 1092 for minute selections");
        break;
    case PeriodCheck::SecsOutOfRange:
        title = QStringLiteral("Seconds Duration");
        text = QStringLiteral("Scan Period must be greater than one second and less than 3601 seconds");
        break;
    case PeriodCheck::Accepted:
        return;
    }
    m_p.dialogs.Message_Box(text, Dialogs::OkOnly, title);
    m_p.ui.TxtScanPeriod->clear();
    m_p.setup.scanPeriodValue = 0;
    m_units->setExclusive(false);
    unitOption(unit)->setChecked(false);
    m_units->setExclusive(true);
    if (check == PeriodCheck::HoursTooLarge)
        m_p.ui.LblUserMessage->hide();
    m_p.ui.TxtScanPeriod->setFocus(Qt::OtherFocusReason);
}

void ScanPeriodRules::subSetCalInt()
{
    SetupState &s = m_p.setup;
    s.calInterval = calIntervalFrom(m_p.ui.TxtSetCalInt->text());
    const QString text = QString::number(s.calInterval);
    if (m_p.ui.TxtSetCalInt->text() != text)
        m_p.ui.TxtSetCalInt->setText(text);
    showCalInterval();
    s.calIntervalText = calIntervalText(text);
}

void ScanPeriodRules::showCalInterval()
{
    const SetupState &s = m_p.setup;
    const qint64 calSeconds = qint64(s.periodSeconds) * s.calInterval;
    m_p.ui.LblCalIntDisp->setText(s.calInterval < 1 ? QStringLiteral("No Cals") : dayTimeText(calSeconds));
}

void ScanPeriodRules::SubMaxScans()
{
    SetupState &s = m_p.setup;
    MemoryLayout layout{s.memorySize, s.highestChannel, s.bytesPerReading, s.monitorChannel != 0,
                        s.calInterval};
    layout = withDefaults(layout);
    s.memorySize = layout.memorySize;
    s.highestChannel = layout.highestChannel;
    s.bytesPerReading = layout.bytesPerReading;
    s.maxScans = maxScans(layout);
    m_p.ui.LblUserMessage->show();
}

void ScanPeriodRules::SubLoggingDuration()
{
    subSetCalInt();
    SetupState &s = m_p.setup;
    const Duration d = loggingDuration(selectedUnit(), s.scanPeriodValue, s.maxScans, s.durationSeconds);
    s.maxScans = d.maxScans;
    s.periodSeconds = d.periodSeconds;
    s.durationSeconds = d.durationSeconds;
    // The interval was shown with the period as it was; show it with the new one.
    showCalInterval();
}

void ScanPeriodRules::showDurationMessage()
{
    m_p.ui.LblUserMessage->setText(durationMessage(m_p.setup.maxScans, m_p.setup.periodSeconds));
}

void ScanPeriodRules::SubStopDate()
{
    SetupState &s = m_p.setup;
    s.stopTime = s.startTime.addSecs(qint64(s.durationSeconds));
    m_p.ui.LblStartTime->setText(ClockDisplay::dateTimeText(s.startTime));
    m_p.ui.LblStopTime->setText(ClockDisplay::dateTimeText(s.stopTime));
}

void ScanPeriodRules::clearCalInterval()
{
    m_p.ui.TxtSetCalInt->setText(QStringLiteral("0"));
    m_p.ui.fraCalScan->hide();
    // The figures follow the field, so no interval of an earlier setup is counted.
    subSetCalInt();
}
