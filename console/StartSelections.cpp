#include "console/StartSelections.h"

#include "console/ClockDisplay.h"
#include "console/MainTab.h"
#include "console/MainWindowState.h"
#include "console/ScanPeriodRules.h"
#include "console/SetupState.h"
#include "logger/LoggerHeader.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

namespace {

// Firmware of the variant that drives a remote pH display: characters 2-4.
const QString RemoteDisplayFirmware = QStringLiteral("522");
const QString LowPowerPeriod = QStringLiteral("18.2");

} // namespace

StartSelections::StartSelections(const Parts &parts, ScanPeriodRules &period)
    : QObject(parts.ui.tabSetup)
    , m_p(parts)
    , m_period(period)
{
    Ui::FrmStartup &ui = m_p.ui;
    connect(ui.SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == MainTab::Setup)
            enterSetupTab();
    });
    connect(ui.OptStartNow, &QRadioButton::clicked, this, &StartSelections::OptStartNow_Click);
    connect(ui.OptUseLast, &QRadioButton::clicked, this, &StartSelections::OptUseLast_Click);
    connect(ui.cmdLowPower, &QPushButton::clicked, this, &StartSelections::cmdLowPower_Click);
    connect(ui.TxtProjIdent, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_p.setup.projectIdent = text; });
    period.setStartNow([this] {
        m_p.ui.OptStartNow->setChecked(true);
        OptStartNow_Click();
    });
    ui.fraRemoteDisplay->hide();
}

void StartSelections::switchOff(QAbstractButton *option)
{
    // An exclusive option cannot be switched off unless exclusivity is lifted for the moment.
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

void StartSelections::clearStartStopDisplays()
{
    m_p.ui.LblStartTime->clear();
    m_p.ui.LblStopTime->clear();
    m_p.ui.LblLastStartTime->clear();
    m_p.ui.LblLastStopTime->clear();
}

void StartSelections::enterSetupTab()
{
    Ui::FrmStartup &ui = m_p.ui;
    const bool remoteDisplay = m_p.header.firmwareVersion.mid(1, 3) == RemoteDisplayFirmware;
    ui.fraRemoteDisplay->setVisible(remoteDisplay);
    ui.chkRemoteDisplay->setChecked(remoteDisplay);
    ui.OptStartNow->setChecked(true);
    OptStartNow_Click();
    ui.TxtScanPeriod->clear();
    m_period.switchOffUnits();
    m_p.setup.scanPeriodValue = 0;
    // No unit, no period: otherwise the next visit's Start Now would find a
    // period left from this one and call the empty form incorrect.
    m_p.setup.periodSeconds = 0;
    ui.TxtProjIdent->clear();
    m_p.setup.projectIdent.clear();
    ui.LblStartTime->clear();
    ui.LblStopTime->clear();
    ui.LblCalIntDisp->clear();
    ui.LblUserMessage->clear();
}

void StartSelections::OptStartNow_Click()
{
    m_p.state.lowPowerModeSelected = false;
    clearStartStopDisplays();
    m_p.settings.save(QStringLiteral("LowPowerMode"), QStringLiteral("False"));
    // Times shown for a setup that cannot be used would be taken for a plan.
    if (!SubScanSettingValid())
        return;
    SetupState &s = m_p.setup;
    s.startTime = m_p.loop.now().addSecs(m_p.state.waitSeconds);
    s.stopTime = s.startTime.addSecs(qint64(s.durationSeconds));
    m_p.ui.LblStartTime->setText(ClockDisplay::dateTimeText(s.startTime));
    m_p.ui.LblStopTime->setText(ClockDisplay::dateTimeText(s.stopTime));
}

void StartSelections::OptUseLast_Click()
{
    SetupState &s = m_p.setup;
    s.startTime = s.lastStartTime;
    s.stopTime = s.lastStopTime;
    m_p.ui.LblLastStartTime->setText(ClockDisplay::dateTimeText(s.startTime));
    m_p.ui.LblLastStopTime->setText(ClockDisplay::dateTimeText(s.stopTime));
}

void StartSelections::cmdLowPower_Click()
{
    Ui::FrmStartup &ui = m_p.ui;
    SetupState &s = m_p.setup;
    s.startTime = m_p.loop.now();
    ui.TxtScanPeriod->setText(LowPowerPeriod);
    ui.OptHrs->setChecked(true);
    m_period.OptUnit_Click(ScanPeriodRules::Unit::Hours);
    ui.TxtProjIdent->setText(QStringLiteral("Logger set to Lowest Power mode. Remove Battery for storage!"));
    switchOff(ui.OptUseLast);
    ui.OptUseLast->setEnabled(false);
    ui.cmdSetDates->setEnabled(false);
    ui.LblLastStartTime->setText(ClockDisplay::dateTimeText(s.startTime));
    ui.LblLastStopTime->setText(ClockDisplay::dateTimeText(s.stopTime));
    ui.LblStartTime->clear();
    ui.LblStopTime->clear();
    m_p.state.lowPowerModeSelected = true;
    m_p.settings.save(QStringLiteral("LowPowerMode"), QStringLiteral("True"));
    m_p.settings.save(QStringLiteral("ScanPeriod"), ui.TxtScanPeriod->text());
    m_p.settings.save(QStringLiteral("ScanPeriodUnit"), QStringLiteral("Hrs"));
}

bool StartSelections::SubScanSettingValid()
{
    const SetupState &s = m_p.setup;
    if (s.highestChannel < 1 || s.periodSeconds <= 0 || m_period.selectedUnit() != ScanPeriodRules::Unit::None)
        return true;
    m_p.dialogs.Message_Box(QStringLiteral("Incorrect setting. Please verify that desired channels selected, "
                                           "Scan period input and time period selected."),
                            int(Dialogs::OkOnly) | Dialogs::Information, QStringLiteral("Incorrect settings"));
    switchOff(m_p.ui.OptStartNow);
    switchOff(m_p.ui.OptUseLast);
    clearStartStopDisplays();
    return false;
}
