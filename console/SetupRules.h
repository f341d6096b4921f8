#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
}
struct SetupState;

// The Setup tab's rules: channel selection and the clearing that any change
// of period, channel or monitor brings.
class SetupRules : public QObject
{
    Q_OBJECT

public:
    SetupRules(Ui::FrmStartup &ui, SetupState &setup);

    // A click on "Ch n". Channel 1 cannot be deselected.
    void lblActChClick(int channel);
    void setNumberActiveChannels();
    void SubClearSettings();
    // Shows channel n (0: none) as the monitor channel and takes it as such.
    void selectMonitor(int channel);

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
    class QButtonGroup *m_units;
};
