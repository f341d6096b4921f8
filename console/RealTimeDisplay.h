#pragma once

#include "console/RealTimeGrid.h"
#include "console/RealTimeScanDisplays.h"
#include "logger/DisplayMode.h"
#include "logger/RunningStatistics.h"

#include <QDateTime>
#include <QObject>
#include <array>
#include <functional>
#include <memory>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class LoggerConnection;
class Timer;
struct SetupState;

// The Real Time tab: live readings of every installed channel, polled with
// "r" at the operator's interval or followed from the "l" lines of a running
// test, in engineering units, true millivolts or counts, with running
// statistics. Replies are taken only while the display runs: one that comes
// after a stop, or from before a new logger was plugged in, is ignored.
class RealTimeDisplay : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        LoggerConnection &connection;
        Dialogs &dialogs;
        EventLoop &loop;
        SetupState &setup;
        // Ends the program (the error box's Cancel).
        std::function<void()> endProgram;
    };

    static constexpr int BeepEvery = 100;
    // Intervals below this are taken as 1.0 s; above the maximum as the maximum.
    static constexpr double SmallestInterval = 0.5;
    static constexpr double LargestInterval = 86400;

    RealTimeDisplay(const Parts &parts, QObject *parent);
    ~RealTimeDisplay() override;

    // The tab click handler of the Real Time tab.
    void enterTab();
    void OptShowRTData_Click();
    void subStopRTData();
    void tmrRTDInterval_Timer();
    void subDisplayRT(const QString &line);
    void chkAccumStats_Click(bool ticked);
    void chkDisplayTruemV_Click(bool ticked);
    void chkDispADCounts_Click(bool ticked);
    // A new logger was plugged in: the display stops, statistics are off and blank.
    void newConnection();

    bool rtActive() const { return m_rtActive; }
    bool rtFollowLogging() const { return m_rtFollowLogging; }
    double rtInterval() const { return m_rtInterval; }
    DisplayMode displayMode() const { return m_mode; }
    Timer &pollTimer() { return *m_tmrRTDInterval; }
    qint64 statCount() const { return m_statCount; }
    const RunningStatistics &statistics(int channel) const { return m_stats[size_t(channel)]; }
    // Channel 1-8's count in the current display mode.
    double valueOf(int channel, int count) const;
    // The reading shown in the grid for channel 1-8.
    QString readingText(int channel) const { return m_grid.cell(channel, RealTimeGrid::Reading); }

Q_SIGNALS:
    // A reading was written into the grid (channel 1-8), in `mode`.
    void readingShown(int channel, const QDateTime &time, double value, bool clip, DisplayMode mode);
    // The grid's readings were emptied (new logger, tab entered, rows changed).
    void displayReset();
    void displayModeChanged(DisplayMode mode);

private:
    void askAboutLogging();
    void followLogging();
    void stopLoggingForRealTime();
    void startDisplay();
    void readInterval();
    void sendReadRequest();
    bool runAsCommand(const std::function<void()> &command);
    void showReading(int channel, int count, const QDateTime &now);
    void accumulate(int channel, double value);
    void statisticsFailed();
    void resetStatistics();
    void modeChanged();
    void showScanNumbers();
    int gridRows() const;

    Parts m_p;
    RealTimeGrid m_grid;
    RealTimeScanDisplays m_scans;
    std::unique_ptr<Timer> m_tmrRTDInterval;
    bool m_rtActive = false;
    bool m_rtFollowLogging = false;
    bool m_requestOutstanding = false;
    bool m_errorShown = false;
    double m_rtInterval = 1.0;
    DisplayMode m_mode = DisplayMode::EngineeringUnits;
    qint64 m_statCount = 0;
    std::array<RunningStatistics, 12> m_stats;
    int m_rowsAtLastStart = -1;
};
