#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class LoggerStatusView;
}
class Dialogs;
class QLabel;
struct LinkState;
struct LiveBlockValues;
struct LoggerHeader;
struct SetupState;

// The Data Logger tab's picture of the connected logger: identity, current or
// last test, battery, memory and download state, from the header as last read
// and the live block of the last event capture. It holds nothing of its own;
// every subLoggerPresent rewrites it. What it changes outside its own labels
// (tabs, the Setup tab, the dump output) goes through the hooks.
class LoggerStatusView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int WaitingTab = 1;
    static constexpr int DataLoggerTab = 2;

    static const QColor Green;
    static const QColor Yellow;
    static const QColor Red;
    static const QColor LightBlue;

    struct Sources
    {
        const LoggerHeader &header;
        // The live block of the last event capture (EventCapture::values()).
        const LiveBlockValues &live;
        // Channel selection and the memory size the setup computations use.
        SetupState &setup;
        const LinkState &link;
        Dialogs &dialogs;
    };

    // The main window's routines; an empty hook is skipped.
    struct Hooks
    {
        std::function<void(int tab)> selectTab;
        // Hides the channel calibration window FrmCalRoutine.
        std::function<void()> hideCalibrationWindow;
        // Setup tab: TxtSetCalInt to "0" and its frame hidden.
        std::function<void()> clearCalInterval;
        std::function<void()> subVerifyQtyActChs;
        // Paints the Setup tab's label "Ch n" as selected.
        std::function<void(int channel)> markChannelSelected;
        std::function<void()> setNumberActiveChannels;
        // ScanPeriod and ScanPeriodUnit back into the Setup tab, each unit
        // option followed by its handler.
        std::function<void()> restoreScanPeriod;
        std::function<void()> subMaxScans;
        std::function<void()> subEnableDump;
        // The status byte's EEPROM-invalid bit as last read.
        std::function<bool()> eepromInvalid;
        std::function<void()> SubResetCommCommand;
    };

    explicit LoggerStatusView(const Sources &sources, QWidget *parent = nullptr);
    ~LoggerStatusView() override;

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    // Fills the area the main window keeps for the view.
    void placeIn(QWidget *area);

    void subLoggerPresent();
    // The Reload button (cmdLgrStatus).
    void cmdLgrStatus_Click();
    // A new connection: every figure is blanked until the header is read.
    void showHeaderNotRead();
    // The last-download labels from the header's download time and file name.
    void showDownloadState();

    Ui::LoggerStatusView &ui() { return *m_ui; }

    static void setBackground(QLabel *label, const QColor &colour);

Q_SIGNALS:
    // The Cal Data tab's "Last Battery Installed On" (LblLastBattInstOnRd).
    void batteryInstalledShown(const QString &text);
    // The communications window's memory label: six hex digits and "h".
    void memoryHexShown(const QString &text);

private:
    void showEventTime();
    void showIdentity();
    void showChannelSelection();
    void showSamplingPeriod();
    void showMemoryAvailable();
    void run(const std::function<void()> &hook);
    QList<QLabel *> valueLabels() const;

    std::unique_ptr<Ui::LoggerStatusView> m_ui;
    Sources m_src;
    Hooks m_hooks;
};
