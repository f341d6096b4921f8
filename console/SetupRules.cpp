#include "console/SetupRules.h"

#include "console/ScanPeriodRules.h"
#include "console/SetupState.h"
#include "console/StartSelections.h"
#include "logger/LoggerHeader.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"

#include <QEvent>
#include <QLabel>

namespace {

const QColor SelectedColour(0x80, 0xFF, 0x80);
const QColor NotSelectedColour(0xC0, 0xC0, 0xC0);

// Turns a label's mouse click into a call, as the channel labels are buttons.
class ClickFilter : public QObject
{
public:
    ClickFilter(QObject *parent, std::function<void()> onClick)
        : QObject(parent)
        , m_onClick(std::move(onClick))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            m_onClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

SetupRules::SetupRules(const Parts &p)
    : QObject(p.ui.tabSetup)
    , m_ui(p.ui)
    , m_setup(p.setup)
    , m_dialogs(p.dialogs)
    , m_header(p.header)
    , m_period(std::make_unique<ScanPeriodRules>(
          ScanPeriodRules::Parts{p.ui, p.setup, p.dialogs, p.settings, p.link}))
    , m_starts(std::make_unique<StartSelections>(
          StartSelections::Parts{p.ui, p.setup, p.state, p.dialogs, p.settings, p.loop, p.header}, *m_period))
{
    m_period->setClearSettings([this] { SubClearSettings(); });
    for (int channel = 0; channel <= 8; ++channel) {
        connect(monitorOption(channel), &QRadioButton::clicked, this,
                [this, channel] { channel ? OptMonitorCh_Click(channel) : selectMonitor(0); });
    }
    for (int channel = 1; channel <= 8; ++channel) {
        QLabel *label = channelLabel(channel);
        label->setAutoFillBackground(true);
        label->installEventFilter(new ClickFilter(this, [this, channel] { lblActChClick(channel); }));
        paint(channel, false);
    }
    m_ui.lblActCh1->setToolTip(QStringLiteral("Channel 1 is not optional, it must be selected ."));
}

SetupRules::~SetupRules() = default;

QLabel *SetupRules::channelLabel(int channel) const
{
    QLabel *labels[] = {m_ui.lblActCh1, m_ui.lblActCh2, m_ui.lblActCh3, m_ui.lblActCh4,
                        m_ui.lblActCh5, m_ui.lblActCh6, m_ui.lblActCh7, m_ui.lblActCh8};
    return labels[channel - 1];
}

QRadioButton *SetupRules::monitorOption(int channel) const
{
    QRadioButton *options[] = {m_ui.OptMonitorOff, m_ui.OptMonitorCh1, m_ui.OptMonitorCh2,
                               m_ui.OptMonitorCh3, m_ui.OptMonitorCh4, m_ui.OptMonitorCh5,
                               m_ui.OptMonitorCh6, m_ui.OptMonitorCh7, m_ui.OptMonitorCh8};
    return options[channel];
}

void SetupRules::paint(int channel, bool selected)
{
    QLabel *label = channelLabel(channel);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, selected ? SelectedColour : NotSelectedColour);
    label->setPalette(palette);
}

bool SetupRules::isChannelShownSelected(int channel) const
{
    const QLabel *label = channelLabel(channel);
    return !label->isHidden() && label->palette().color(QPalette::Window) == SelectedColour;
}

// A label that is not shown counts as not selected, so the channels the
// logger lacks drop out of the selection at the next count.
void SetupRules::SubVerifyQtyActChs(int installedChannels)
{
    if (installedChannels < 1 || installedChannels > 8)
        return;
    for (int channel = 1; channel <= 8; ++channel) {
        const bool installed = channel <= installedChannels;
        channelLabel(channel)->setVisible(installed);
        monitorOption(channel)->setVisible(installed);
    }
}

void SetupRules::lblActChClick(int channel)
{
    const bool selected = isChannelShownSelected(channel);
    if (channel == 1) {
        paint(1, true);
        m_setup.channelSelect[1] = SetupState::Selected;
    } else {
        paint(channel, !selected);
        m_setup.channelSelect[channel] = selected ? 0.0f : SetupState::Selected;
    }
    setNumberActiveChannels();
    SubClearSettings();
}

void SetupRules::setNumberActiveChannels()
{
    m_setup.highestChannel = 0;
    for (int channel = 1; channel <= 8; ++channel) {
        const bool selected = isChannelShownSelected(channel);
        if (!selected)
            paint(channel, false);
        m_setup.channelSelect[channel] = selected ? SetupState::Selected : 0.0f;
        if (selected)
            m_setup.highestChannel = qint16(channel);
    }
}

void SetupRules::SubClearSettings()
{
    m_period->switchOffUnits();
    m_ui.LblUserMessage->setText(QStringLiteral("Enter desired time unit"));
    m_ui.LblStartTime->clear();
    m_ui.LblStopTime->clear();
    m_ui.LblLastStartTime->clear();
    m_ui.LblLastStopTime->clear();
}

void SetupRules::selectMonitor(int channel)
{
    if (channel < 0 || channel > 8)
        channel = 0;
    monitorOption(channel)->setChecked(true);
    m_setup.monitorChannel = qint16(channel);
    const float extra = channel ? SetupState::Selected : 0.0f;
    m_setup.channelSelect[9] = extra;
    m_setup.channelSelect[10] = extra;
    m_ui.lblMonitorOff->setText(channel ? QStringLiteral("Monitor On") : QStringLiteral("Monitor OFF"));
    if (channel && !isChannelShownSelected(channel))
        lblActChClick(channel);
    SubClearSettings();
}

void SetupRules::OptMonitorCh_Click(int channel)
{
    // A temperature sensor changes too slowly to be worth the monitor's extra readings.
    const QString sensor = m_header.channel[channel - 1].modelNumber;
    if (sensor.contains(QStringLiteral("TMP"))) {
        m_dialogs.Message_Box(QStringLiteral("TMP Sensors are not allowed as monitors."),
                              int(Dialogs::OkOnly) | Dialogs::Information,
                              QStringLiteral("Monitor Channel Information"));
        restoreMonitorOptions();
        return;
    }
    selectMonitor(channel);
}

void SetupRules::restoreMonitorOptions()
{
    if (m_setup.monitorChannel < 0 || m_setup.monitorChannel > 8) {
        for (int channel = 1; channel <= 8; ++channel)
            StartSelections::switchOff(monitorOption(channel));
        m_ui.OptMonitorOff->setChecked(true);
        return;
    }
    monitorOption(m_setup.monitorChannel)->setChecked(true);
}
