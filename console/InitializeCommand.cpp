#include "console/InitializeCommand.h"

#include "logger/InitializeChecks.h"

#include "console/ClockDisplay.h"
#include "console/DefaultsTab.h"
#include "console/DownloadCommand.h"
#include "console/MainWindowState.h"
#include "console/ScanPeriodRules.h"
#include "console/SetupRules.h"
#include "console/SetupState.h"
#include "logger/LoggerConnection.h"
#include "logger/TestSetup.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"

namespace {

// Position of a monitor channel's readings in the channel selection.
constexpr int MonitorPosition = 9;

} // namespace

InitializeCommand::InitializeCommand(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    connect(m_p.ui.CmdInitialize, &QPushButton::clicked, this,
            &InitializeCommand::CmdInitialize_Click);
    // Just before the channel configuration line is written, the active
    // channels are counted again from the Setup tab.
    m_p.connection.initializer.setRefreshChannelFlags([this](TestSetup &setup) {
        m_p.setupRules.setNumberActiveChannels();
        const TestSetup fresh = testSetup();
        setup.channelSelect = fresh.channelSelect;
        setup.highestChannel = fresh.highestChannel;
        setup.monitorChannel = fresh.monitorChannel;
    });
}

void InitializeCommand::CmdInitialize_Click()
{
    if (!m_p.connection.confirmedLogger() || !checkChannelsAndPeriod())
        return;
    prepareUpload();
    if (!confirmUpload() || !checkPeriodSeconds())
        return;
    if (m_p.connection.header.lastDownloadTime.contains(u'x')) {
        // The last test was never downloaded: Cancel keeps it in the logger
        // and leaves the Setup tab's Download offered.
        DownloadCommand::offerSetupDownload(m_p.ui, true);
        if (InitializeChecks::acceptNeverDownloaded(m_p.dialogs, m_p.connection.header))
            initializeAfterWarning();
        return;
    }
    m_p.dialogs.setBusy(true);
    InitializeChecks::announceUpload(m_p.dialogs);
    upload();
    m_p.dialogs.setBusy(false);
}

void InitializeCommand::initializeAfterWarning()
{
    if (!m_p.connection.confirmedLogger())
        return;
    if (!m_p.connection.state.loggerConnected) {
        DownloadCommand::showNoLoggerConnected(m_p.dialogs);
        return;
    }
    if (!confirmUpload())
        return;
    upload();
    DownloadCommand::offerSetupDownload(m_p.ui, false);
}

bool InitializeCommand::checkChannelsAndPeriod()
{
    SetupState &s = m_p.setup;
    const auto refuse = [this](const QString &text, const QString &title) {
        m_p.dialogs.Message_Box(text, int(Dialogs::OkOnly) | Dialogs::Critical, title);
        return false;
    };
    const QString selectChannels = QStringLiteral("Please select the active channels.");
    const QString selectTitle = QStringLiteral("Select active of channels");
    if (s.highestChannel < 1 || s.highestChannel > 8) {
        s.highestChannel = 0;
        return refuse(selectChannels, selectTitle);
    }
    if (!acceptMonitorWarnings())
        return false;
    bool anySelected = false;
    for (int channel = 1; channel <= 8; ++channel)
        anySelected = anySelected || s.channelSelect[channel] == SetupState::Selected;
    if (!anySelected)
        return refuse(selectChannels, selectTitle);
    if (m_p.ui.TxtScanPeriod->text().isEmpty())
        return refuse(QStringLiteral("Please enter the scan period."), QStringLiteral("Select scan period"));
    if (!m_p.ui.OptHrs->isChecked() && !m_p.ui.OptMins->isChecked() && !m_p.ui.OptSecs->isChecked())
        return refuse(QStringLiteral("Please enter the scan period unit of measure."),
                      QStringLiteral("Select unit of measure"));
    return true;
}

bool InitializeCommand::acceptMonitorWarnings()
{
    if (m_p.setup.channelSelect[MonitorPosition] != SetupState::Selected)
        return true;
    // The monitor's place is selected: warn even before a monitor channel is chosen.
    return InitializeChecks::acceptMonitorWarnings(m_p.dialogs, qMax(1, int(m_p.setup.monitorChannel)),
                                                   quint32(qMax(0, m_p.setup.periodSeconds)));
}

void InitializeCommand::prepareUpload()
{
    const QString units = m_p.connection.header.channel[0].engUnits;
    if (m_p.ui.chkRemoteDisplay->isChecked() && units.contains(QStringLiteral("ph"), Qt::CaseInsensitive)
        && m_openPhSetup)
        m_openPhSetup();
    m_p.defaults.loadWaitPeriod();
    m_p.setupRules.setNumberActiveChannels();
}

bool InitializeCommand::confirmUpload()
{
    const QString text = InitializeChecks::confirmationText(
        testSetup(), m_p.connection.initializer.factory().startPointer, quint32(qMax(0, m_p.state.waitSeconds)),
        m_p.setup.startTime);
    return InitializeChecks::confirmUpload(m_p.dialogs, text);
}

bool InitializeCommand::checkPeriodSeconds()
{
    m_p.setupRules.scanPeriod().SubLoggingDuration();
    if (m_p.ui.OptStartNow->isChecked())
        takeStartAndStopFromDisplays();
    // The period is counted in whole seconds, so "below 0.1 s" is zero too.
    if (m_p.setup.periodSeconds > 0)
        return true;
    m_p.dialogs.Message_Box(
        QStringLiteral("Scan period cannot be zero, please re-enter scan period and time interval"),
        Dialogs::OkOnly, QStringLiteral("Scan Period invalid"));
    return false;
}

void InitializeCommand::takeStartAndStopFromDisplays()
{
    const QDateTime start = ClockDisplay::dateTimeFromText(m_p.ui.LblStartTime->text());
    const QDateTime stop = ClockDisplay::dateTimeFromText(m_p.ui.LblStopTime->text());
    if (start.isValid())
        m_p.setup.startTime = start;
    if (stop.isValid())
        m_p.setup.stopTime = stop;
}

TestSetup InitializeCommand::testSetup() const
{
    const SetupState &s = m_p.setup;
    TestSetup t;
    t.periodSeconds = quint32(qMax(0, s.periodSeconds));
    t.waitSeconds = quint32(qMax(0, m_p.state.waitSeconds));
    t.scans = quint32(qMax(0, s.maxScans));
    t.stopTime = s.stopTime;
    for (int channel = 1; channel <= TestSetup::Channels; ++channel)
        t.channelSelect[channel - 1] = s.channelSelect[channel] == SetupState::Selected ? TestSetup::Active : 0;
    t.highestChannel = s.highestChannel;
    t.monitorChannel = s.monitorChannel;
    t.calInterval = quint32(qMax(0, s.calInterval));
    t.projectIdent = s.projectIdent;
    t.timeZoneOffset = m_p.state.gmtDelta;
    return t;
}

void InitializeCommand::upload()
{
    m_p.ui.SSTab1->setEnabled(false);
    m_p.connection.initializer.setSetup(testSetup());
    m_p.connection.initializer.subInitLogger();
    m_p.ui.SSTab1->setEnabled(true);
}
