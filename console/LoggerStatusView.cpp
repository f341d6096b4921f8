#include "console/LoggerStatusView.h"

#include "console/SetupState.h"
#include "link/LinkState.h"
#include "logger/EventCapture.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"
#include "platform/Dialogs.h"
#include "ui_LoggerStatusView.h"

#include <QTime>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

const QColor LoggerStatusView::Green(0x00, 0xFF, 0x00);
const QColor LoggerStatusView::Yellow(0xFF, 0xFF, 0x00);
const QColor LoggerStatusView::Red(0xFF, 0x00, 0x00);
const QColor LoggerStatusView::LightBlue(0xC0, 0xFF, 0xFF);

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString DateTimeForm = QStringLiteral("yyyy MM dd hh:mm:ss");

// Preset scans of 0 stand for the firmware's default test length, which also
// keeps the memory ratio from dividing by zero.
constexpr quint32 DefaultPresetScans = 4096;

// The download time is "x" filled from initialization until a download
// writes it; erased memory (codes above "z") counts as written.
bool wasDownloaded(const QString &downloadTime)
{
    return !downloadTime.contains(u'x')
        || (!downloadTime.isEmpty() && downloadTime.at(0).unicode() > u'z');
}

} // namespace

LoggerStatusView::LoggerStatusView(const Sources &sources, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::LoggerStatusView>())
    , m_src(sources)
{
    m_ui->setupUi(this);
}

LoggerStatusView::~LoggerStatusView() = default;

void LoggerStatusView::placeIn(QWidget *area)
{
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(this);
}

void LoggerStatusView::setBackground(QLabel *label, const QColor &colour)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

void LoggerStatusView::run(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

void LoggerStatusView::subLoggerPresent()
{
    if (!m_src.link.loggerConnected) {
        showEventTime();
        if (m_hooks.selectTab)
            m_hooks.selectTab(WaitingTab);
        run(m_hooks.hideCalibrationWindow);
        return;
    }
    for (QLabel *message : {m_ui->lblHeaderMessage1, m_ui->lblHeaderMessage2, m_ui->lblHeaderMessage3})
        message->clear();
    showIdentity();
    run(m_hooks.subVerifyQtyActChs);
    showChannelSelection();
    run(m_hooks.restoreScanPeriod);
    showDownloadState();
    showSamplingPeriod();
    if (m_src.setup.memorySize == 0)
        m_src.setup.memorySize = qint32(m_src.live.active.pointer.value) + 10;
    showMemoryAvailable();
    if (m_hooks.selectTab)
        m_hooks.selectTab(DataLoggerTab);
    run(m_hooks.subEnableDump);
    // Switching the dump output reads the status byte, and every status byte
    // read blanks "Event Occured": the event time is shown once it is done.
    showEventTime();
    if (m_hooks.eepromInvalid && m_hooks.eepromInvalid()) {
        m_src.dialogs.Message_Box(
            QStringLiteral("Error in reading eeprom, Logger may not be intialized. Contact factory "
                           "for assistance if this error repeats after initializing logger."),
            Dialogs::OkOnly, QStringLiteral("Invalid EEPROM"));
    }
}

// When the first status event happened: the scans counted down to the event,
// one preset period each, after the start.
void LoggerStatusView::showEventTime()
{
    const LiveBlockValues &live = m_src.live;
    const qint64 scans = qint64(live.preset.scans.value) - qint64(live.eventScans.value);
    const qint64 seconds = scans * qint64(live.preset.period.value);
    m_ui->LblRdBattStopDate->setText(m_src.header.startDate.addSecs(seconds).toString(DateTimeForm));
}

void LoggerStatusView::showIdentity()
{
    const LoggerHeader &h = m_src.header;
    m_src.setup.memorySize =
        qint32(std::min<quint32>(h.memoryInstalled, std::numeric_limits<qint32>::max()));
    m_ui->LblRdMemInst->setText(QString::number(m_src.setup.memorySize));
    Q_EMIT memoryHexShown(fnHex6(m_src.setup.memorySize) + u'h');

    const QString battery = h.batteryDate.toString(QStringLiteral("yyyy MM dd hh:mm"));
    m_ui->LblRdBattChg->setText(battery);
    Q_EMIT batteryInstalledShown(battery);
    m_ui->LblRdStartDate->setText(h.startDate.toString(DateTimeForm));
    m_ui->LblRdStopDate->setText(h.stopDate.toString(DateTimeForm));
    m_ui->LblRdProjID->setText(h.description);
    m_ui->LblRdModelNum->setText(h.modelVersion);
    m_ui->LblRdSerialNum->setText(h.serialNumber);
    m_ui->LblRdHeaderVer->setText(h.headerVersion + u'/' + h.initHeaderVersion);
    run(m_hooks.clearCalInterval);
    m_ui->LblRdFirmwareVer->setText(h.firmwareVersion);
}

void LoggerStatusView::showChannelSelection()
{
    if (m_hooks.markChannelSelected) {
        for (int channel = 1; channel <= 8; ++channel)
            if (m_src.setup.channelSelect[channel] == SetupState::Selected)
                m_hooks.markChannelSelected(channel);
    }
    run(m_hooks.setNumberActiveChannels);
}

void LoggerStatusView::showDownloadState()
{
    const LoggerHeader &h = m_src.header;
    if (wasDownloaded(h.lastDownloadTime)) {
        m_ui->LblRdDownloadStat->setText(QStringLiteral("Download Filename:") + CrLf
                                         + h.lastDownloadFile.left(16) + CrLf
                                         + h.lastDownloadFile.right(16));
        m_ui->LblRdDownloadTime->setText(h.lastDownloadTime);
        setBackground(m_ui->LblRdDownloadStat, Green);
        setBackground(m_ui->LblRdDownloadTime, Green);
    } else {
        m_ui->LblRdDownloadStat->setText(QStringLiteral("NOT Downloaded"));
        m_ui->LblRdDownloadTime->clear();
        setBackground(m_ui->LblRdDownloadStat, Yellow);
        setBackground(m_ui->LblRdDownloadTime, Yellow);
    }
}

// Periods below 10 s leave the logger too little time to talk and are marked.
void LoggerStatusView::showSamplingPeriod()
{
    const quint32 seconds = m_src.header.scanPeriod;
    m_ui->LblRdSamplePeriod->setText(
        QTime(0, 0).addSecs(int(seconds % 86400)).toString(QStringLiteral("hh:mm:ss")));
    setBackground(m_ui->LblRdSamplePeriod, seconds < 5 ? Red : seconds < 10 ? Yellow : LightBlue);
}

// Active scans count down from the preset as the test runs, so a small ratio
// means the test has little room left.
void LoggerStatusView::showMemoryAvailable()
{
    QLabel *label = m_ui->LblRdMemAvail;
    setBackground(label, Green);
    run(m_hooks.subMaxScans);
    const LiveBlockValues &live = m_src.live;
    if (live.active.scans.hex.isEmpty()) {
        // No live block read yet: no figure from an earlier logger may stay.
        label->clear();
        return;
    }
    const quint32 active = live.active.scans.value;
    const quint32 preset = live.preset.scans.value == 0 ? DefaultPresetScans : live.preset.scans.value;
    const double ratio = double(active) / double(preset);
    if (ratio < 0.001)
        setBackground(label, Red);
    else if (ratio < 0.1)
        setBackground(label, Yellow);
    const double percent = active > 0 ? std::nearbyint(ratio * 100) : 0;
    label->setText(QString::number(active) + QStringLiteral(" / ") + QString::number(preset)
                   + QStringLiteral(" = ") + QString::number(percent, 'f', 1) + u'%');
}

void LoggerStatusView::cmdLgrStatus_Click()
{
    run(m_hooks.SubResetCommCommand);
}

QList<QLabel *> LoggerStatusView::valueLabels() const
{
    return {m_ui->LblRdModelNum,     m_ui->LblRdSerialNum,    m_ui->LblRdHeaderVer,
            m_ui->LblRdFirmwareVer,  m_ui->LblRdProjID,       m_ui->LblRdStartDate,
            m_ui->LblRdStopDate,     m_ui->LblRdBattStopDate, m_ui->LblRdBattChg,
            m_ui->LblRdSamplePeriod, m_ui->LblRdMemInst,      m_ui->LblRdMemAvail,
            m_ui->LblRdDownloadStat, m_ui->LblRdDownloadTime};
}

void LoggerStatusView::showHeaderNotRead()
{
    for (QLabel *label : valueLabels()) {
        label->clear();
        label->setAutoFillBackground(false);
        label->setPalette(palette());
    }
    m_ui->lblHeaderMessage1->setText(QStringLiteral("HEADER NOT READ"));
    m_ui->lblHeaderMessage2->setText(QStringLiteral("All Displays"));
    m_ui->lblHeaderMessage3->setText(QStringLiteral("are Invalid!"));
}
