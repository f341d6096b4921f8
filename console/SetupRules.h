#pragma once

#include <QObject>
#include <memory>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class ScanPeriodRules;
class StartSelections;
class StartupSettings;
struct LinkState;
struct LoggerHeader;
struct MainWindowState;
struct SetupState;

// The Setup tab's rules: channel and monitor selection and the clearing that
// any change of period, channel or monitor brings. The scan period and the
// start selections have classes of their own, held here.
class SetupRules : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        SetupState &setup;
        MainWindowState &state;
        Dialogs &dialogs;
        StartupSettings &settings;
        const LinkState &link;
        // The sensor names of the channels and the firmware version.
        const LoggerHeader &header;
        EventLoop &loop;
    };

    explicit SetupRules(const Parts &parts);
    ~SetupRules() override;

    ScanPeriodRules &scanPeriod() { return *m_period; }
    StartSelections &starts() { return *m_starts; }

    // A click on "Ch n". Channel 1 cannot be deselected.
    void lblActChClick(int channel);
    void setNumberActiveChannels();
    void SubClearSettings();
    // Shows channel n (0: none) as the monitor channel and takes it as such.
    void selectMonitor(int channel);
    // The operator's choice of monitor: a temperature sensor is refused.
    void OptMonitorCh_Click(int channel);
    void restoreMonitorOptions();

    // Shows the channel labels and monitor options of the logger's
    // installedChannels channels only; a count outside 1-8 changes nothing.
    void SubVerifyQtyActChs(int installedChannels);

    bool isChannelShownSelected(int channel) const;

private:
    class QLabel *channelLabel(int channel) const;
    // OptMonitorCh<n>, or OptMonitorOff for 0.
    class QRadioButton *monitorOption(int channel) const;
    void paint(int channel, bool selected);

    Ui::FrmStartup &m_ui;
    SetupState &m_setup;
    Dialogs &m_dialogs;
    const LoggerHeader &m_header;
    std::unique_ptr<ScanPeriodRules> m_period;
    std::unique_ptr<StartSelections> m_starts;
};
