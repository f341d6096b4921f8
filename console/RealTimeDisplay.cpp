#include "console/RealTimeDisplay.h"

#include "console/MainTab.h"
#include "console/SetupState.h"
#include "logger/LoggerConnection.h"
#include "logger/RealTimeConversion.h"
#include "logger/RealTimeLine.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "ui_FrmStartup.h"

#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Cr = QStringLiteral("\r");
constexpr int OverflowError = 6;

} // namespace

RealTimeDisplay::RealTimeDisplay(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
    , m_grid(*parts.ui.MFgRealTime)
    , m_scans(parts.ui, parts.dialogs)
    , m_tmrRTDInterval(parts.loop.createTimer())
{
    m_tmrRTDInterval->setIntervalMs(1000);
    m_tmrRTDInterval->setHandler([this] { tmrRTDInterval_Timer(); });
    Ui::FrmStartup &ui = m_p.ui;
    ui.lblRTActive->hide();
    ui.OptShowRTData->setEnabled(false);
    ui.OptStopRTData->setEnabled(false);
    m_scans.hide();
    connect(ui.OptShowRTData, &QRadioButton::clicked, this, &RealTimeDisplay::OptShowRTData_Click);
    connect(ui.OptStopRTData, &QRadioButton::clicked, this, &RealTimeDisplay::subStopRTData);
    connect(ui.chkAccumStats, &QCheckBox::clicked, this, &RealTimeDisplay::chkAccumStats_Click);
    connect(ui.chkDisplayTruemV, &QCheckBox::clicked, this, &RealTimeDisplay::chkDisplayTruemV_Click);
    connect(ui.chkDispADCounts, &QCheckBox::clicked, this, &RealTimeDisplay::chkDispADCounts_Click);
    connect(ui.ChkShowScans, &QCheckBox::clicked, this, [this](bool ticked) {
        m_scans.ChkShowScans_Click(ticked, m_p.connection.capture.values().preset.period.value,
                                   m_rtFollowLogging && m_rtActive);
    });
}

RealTimeDisplay::~RealTimeDisplay() = default;

int RealTimeDisplay::gridRows() const
{
    return m_p.connection.header.channelBlocks();
}

// ---------------------------------------------------------------- entering the tab

void RealTimeDisplay::enterTab()
{
    m_scans.hide();
    m_grid.clearValues();
    Q_EMIT displayReset();
    m_p.ui.OptShowRTData->setEnabled(false);
    // The question waits for the operator and its answers talk to the
    // logger: both run after the tab change has been handled.
    m_p.loop.post([this] {
        if (m_p.ui.SSTab1->currentIndex() == MainTab::RealTime)
            askAboutLogging();
    });
}

void RealTimeDisplay::askAboutLogging()
{
    if (!m_p.connection.statusByte.loggingActive()) {
        m_rtFollowLogging = false;
        m_p.ui.OptShowRTData->setEnabled(true);
        return;
    }
    const int answer = m_p.dialogs.Message_Box(
        QStringLiteral("Logging is enabled.") + CrLf
            + QStringLiteral("Logging should be turned off (=YES) to use RT functions, ") + CrLf
            + QStringLiteral("or left ON (=NO) to monitor data as it is being logged .") + Cr + Cr
            + QStringLiteral("YES will require re-initialization of the logger to continue logging.")
            + QStringLiteral("Do you want to turn off logging now? "),
        Dialogs::YesNoCancel, QStringLiteral("RT Stop Logging?"));
    if (answer == Dialogs::Cancel)
        m_p.ui.SSTab1->setCurrentIndex(MainTab::DataLogger);
    else if (answer == Dialogs::No)
        followLogging();
    else
        stopLoggingForRealTime();
}

void RealTimeDisplay::followLogging()
{
    if (!runAsCommand([this] { m_p.connection.statusByte.subEnableDump(); }))
        return;
    m_rtFollowLogging = true;
    OptShowRTData_Click();
    if (!m_rtActive)
        return;
    m_scans.show(true);
    m_p.ui.lblCurrentSetup->setText(QStringLiteral("Current Setup: ")
                                    + RealTimeConversion::grouped(m_p.connection.header.scanPeriod, 2));
    m_p.ui.lblCurrentSetupUnits->setText(QStringLiteral("In Seconds"));
}

void RealTimeDisplay::stopLoggingForRealTime()
{
    m_rtFollowLogging = false;
    m_p.dialogs.beep();
    const int answer = m_p.dialogs.Message_Box(QStringLiteral("Do you really want to stop the logger?"),
                                               int(Dialogs::YesNo) | Dialogs::DefaultButton2,
                                               QStringLiteral("Stop for Realtime?"));
    if (answer != Dialogs::Yes)
        return;
    if (runAsCommand([this] { m_p.connection.statusByte.subDisableLogging(); }))
        m_p.ui.OptShowRTData->setEnabled(true);
}

// ---------------------------------------------------------------- start and stop

void RealTimeDisplay::OptShowRTData_Click()
{
    bool confirmed = false;
    if (!runAsCommand([this, &confirmed] { confirmed = m_p.connection.confirmedLogger(); }) || !confirmed) {
        const QSignalBlocker quiet(m_p.ui.OptShowRTData);
        m_p.ui.OptShowRTData->setChecked(false);
        return;
    }
    startDisplay();
}

void RealTimeDisplay::startDisplay()
{
    Ui::FrmStartup &ui = m_p.ui;
    ui.cmdPrintRTData->hide();
    ui.OptStopRTData->setEnabled(true);
    ui.OptStopRTData->setChecked(false);
    {
        // Once started, the operator can start it again after a stop (a
        // change of display mode stops it), following or polling as before.
        const QSignalBlocker quiet(ui.OptShowRTData);
        ui.OptShowRTData->setEnabled(true);
        ui.OptShowRTData->setChecked(true);
    }
    const int rows = gridRows();
    if (rows != m_rowsAtLastStart) {
        m_grid.build(rows, m_p.connection.header, m_mode);
        m_grid.clearValues();
        m_rowsAtLastStart = rows;
        Q_EMIT displayReset();
    }
    m_grid.build(rows, m_p.connection.header, m_mode);
    ui.lblRTActive->show();
    m_rtActive = true;
    m_requestOutstanding = false;
    if (m_rtFollowLogging)
        return;
    readInterval();
    m_tmrRTDInterval->start();
}

void RealTimeDisplay::subStopRTData()
{
    m_tmrRTDInterval->stop();
    m_rtActive = false;
    m_requestOutstanding = false;
    const QSignalBlocker quiet(m_p.ui.OptShowRTData);
    m_p.ui.OptShowRTData->setChecked(false);
    m_p.ui.lblRTActive->hide();
    // Withdrawn while the display runs; the readings it leaves can be printed.
    m_p.ui.cmdPrintRTData->show();
}

void RealTimeDisplay::newConnection()
{
    subStopRTData();
    m_rtFollowLogging = false;
    m_p.ui.chkAccumStats->setChecked(false);
    m_p.ui.lblCumCount->clear();
    m_grid.clearStatistics();
    m_grid.clearValues();
    Q_EMIT displayReset();
}

// ---------------------------------------------------------------- polling

void RealTimeDisplay::tmrRTDInterval_Timer()
{
    if (m_p.ui.SSTab1->currentIndex() != MainTab::RealTime) {
        subStopRTData();
    } else if (!m_rtActive) {
        m_tmrRTDInterval->stop();
    } else if (m_p.connection.state.loggerConnected) {
        // The request waits for its reply: it runs once this tick has returned.
        m_p.loop.post([this] { sendReadRequest(); });
        readInterval();
    } else {
        m_rtActive = false;
        m_tmrRTDInterval->stop();
    }
}

// A number as typed ("0.7", "2"); anything else ("abc", "1,5") counts as 0
// and so becomes the 1.0 s the smallest intervals become.
void RealTimeDisplay::readInterval()
{
    QLineEdit *field = m_p.ui.txtRTDInterval;
    bool ok = false;
    double seconds = field->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        seconds = 0;
    if (seconds < SmallestInterval) {
        seconds = 1.0;
        field->setText(QStringLiteral("1.0"));
    } else if (seconds > LargestInterval) {
        seconds = LargestInterval;
        field->setText(QString::number(LargestInterval));
    }
    m_rtInterval = seconds;
    m_tmrRTDInterval->setIntervalMs(int(std::lround(seconds * 1000)));
}

void RealTimeDisplay::sendReadRequest()
{
    if (!m_rtActive || !m_p.connection.state.loggerConnected)
        return;
    runAsCommand([this] {
        m_requestOutstanding = true;
        m_p.connection.transport.sendCommand(QStringLiteral("r"));
        m_requestOutstanding = false;
    });
}

// Talks to the logger as the link's one sequence; false when another (a
// header read) is still running.
bool RealTimeDisplay::runAsCommand(const std::function<void()> &command)
{
    return m_p.connection.link.sequences().runCommand(command);
}

// ---------------------------------------------------------------- the readings

void RealTimeDisplay::subDisplayRT(const QString &line)
{
    if (!RealTimeLine::isReadingLine(line, m_p.setup.highestChannel) || !m_rtActive)
        return;
    // "r" answers our own request; "l" a scan of the test being followed.
    const bool ours = line.at(0) == u'r' ? m_requestOutstanding : m_rtFollowLogging;
    if (!ours)
        return;
    m_requestOutstanding = false;
    const QDateTime now = m_p.loop.now();
    m_scans.noteReading(now, m_rtFollowLogging, m_p.connection.header.scanPeriod);
    const auto counts = RealTimeLine::counts(line, qMin(m_grid.channels(), gridRows()));
    const bool accumulating = m_p.ui.chkAccumStats->isChecked();
    if (accumulating) {
        ++m_statCount;
        m_p.ui.lblCumCount->setText(RealTimeConversion::grouped(double(m_statCount), 0));
        if (m_statCount % BeepEvery == 0)
            m_p.dialogs.beep();
    }
    for (size_t i = 0; i < counts.size(); ++i)
        if (counts[i])
            showReading(int(i) + 1, *counts[i], now);
    if (m_rtFollowLogging && m_scans.showsScanNumbers())
        m_p.loop.post([this] { showScanNumbers(); });
}

double RealTimeDisplay::valueOf(int channel, int count) const
{
    const LoggerConnection &c = m_p.connection;
    return RealTimeConversion::value(
        count, m_mode, RealTimeConversion::calibration(c.header.channel[size_t(channel - 1)], c.capture.values()));
}

void RealTimeDisplay::showReading(int channel, int count, const QDateTime &now)
{
    const double value = valueOf(channel, count);
    const QString clip = RealTimeConversion::clipText(count);
    m_grid.setCell(channel, RealTimeGrid::Reading, clip.isEmpty() ? RealTimeConversion::text(value, m_mode) : clip);
    Q_EMIT readingShown(channel, now, value, !clip.isEmpty(), m_mode);
    if (m_p.ui.chkAccumStats->isChecked())
        accumulate(channel, value);
}

void RealTimeDisplay::accumulate(int channel, double value)
{
    RunningStatistics &s = m_stats[size_t(channel)];
    if (!std::isfinite(value)) {
        statisticsFailed();
        return;
    }
    s.add(value);
    const double sigma = s.threeSigma();
    if (!std::isfinite(s.average()) || !std::isfinite(sigma) || !std::isfinite(s.maxDeviation())) {
        statisticsFailed();
        return;
    }
    m_grid.setCell(channel, RealTimeGrid::Average, RealTimeConversion::text(s.average(), m_mode));
    m_grid.setCell(channel, RealTimeGrid::MaxDeviation, RealTimeConversion::grouped(s.maxDeviation(), 2));
    m_grid.setCell(channel, RealTimeGrid::ThreeSigma, RealTimeConversion::text(sigma, m_mode));
}

// A reading too large for the statistics: they stop, and the operator
// chooses between going on and ending the program. The box waits, so it is
// shown after the line's handler has returned.
void RealTimeDisplay::statisticsFailed()
{
    m_p.ui.chkAccumStats->setChecked(false);
    if (m_errorShown)
        return;
    m_errorShown = true;
    m_p.loop.post([this] {
        const int answer = m_p.dialogs.Message_Box(
            QStringLiteral("3 ") + QStringLiteral("Rounding error in statistics routines. ") + CrLf
                + QStringLiteral("err#:") + QString::number(OverflowError) + QStringLiteral(", ")
                + QStringLiteral("Overflow") + CrLf + QStringLiteral("Error Location: ")
                + QStringLiteral("subDisplayRT()") + CrLf
                + QStringLiteral("RETRY to return to logger program, CANCEL to terminate program.") + CrLf,
            Dialogs::RetryCancel, QStringLiteral("subDisplayRT()"));
        m_errorShown = false;
        if (answer == Dialogs::Cancel && m_p.endProgram)
            m_p.endProgram();
    });
}

void RealTimeDisplay::showScanNumbers()
{
    if (!m_rtActive || !m_scans.showsScanNumbers())
        return;
    if (runAsCommand([this] { m_p.connection.capture.subReadPic(); }))
        m_scans.showScanNumber(m_p.connection.capture.currentScanNumber());
}

// ---------------------------------------------------------------- statistics and modes

void RealTimeDisplay::chkAccumStats_Click(bool ticked)
{
    // Unticked, the figures shown stay: a hold.
    if (ticked)
        resetStatistics();
}

void RealTimeDisplay::resetStatistics()
{
    m_statCount = 0;
    for (RunningStatistics &s : m_stats)
        s.reset();
}

void RealTimeDisplay::chkDisplayTruemV_Click(bool ticked)
{
    if (ticked) {
        const QSignalBlocker quiet(m_p.ui.chkDispADCounts);
        m_p.ui.chkDispADCounts->setChecked(false);
    }
    modeChanged();
    if (ticked)
        m_p.dialogs.Message_Box(
            QStringLiteral("The 'TRUE mV' option reports true input in milli-Volts.") + CrLf + CrLf
                + QStringLiteral("Do not use this option for gathering calibration data.") + CrLf
                + QStringLiteral("Use ADC COUNTS for Calibration values.") + CrLf,
            Dialogs::OkOnly, QStringLiteral("True mV validation"));
}

void RealTimeDisplay::chkDispADCounts_Click(bool ticked)
{
    if (ticked) {
        const QSignalBlocker quiet(m_p.ui.chkDisplayTruemV);
        m_p.ui.chkDisplayTruemV->setChecked(false);
    }
    modeChanged();
}

void RealTimeDisplay::modeChanged()
{
    resetStatistics();
    subStopRTData();
    m_mode = m_p.ui.chkDispADCounts->isChecked()    ? DisplayMode::Counts
             : m_p.ui.chkDisplayTruemV->isChecked() ? DisplayMode::TrueMillivolts
                                                    : DisplayMode::EngineeringUnits;
    m_grid.rebuildUnits(m_p.connection.header, m_mode);
    Q_EMIT displayModeChanged(m_mode);
}
