#pragma once

#include "console/ChartHistory.h"

#include <QDateTime>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class Dialogs;
class EventLoop;
class QCheckBox;
class QComboBox;
class QPushButton;
class Timer;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The live chart beside the real-time grid: every channel's readings over
// time in the grid's display mode, channels switched on and off, a time
// window from the last minute to the last day, a pause that freezes the
// picture while the readings go on being kept, clip readings marked, and
// the picture saved as PNG. It is redrawn at most a few times a second from
// the readings kept, whatever their rate.
class RealTimeChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RedrawMs = 250;
    // Points drawn per channel at most: about one pair per pixel column.
    static constexpr int Buckets = 600;

    struct Window
    {
        const char *caption;
        qint64 seconds;
    };
    static const std::array<Window, 5> Windows;

    // dataFolder gives the folder pictures are proposed in, as it is then.
    RealTimeChart(EventLoop &loop, Dialogs &dialogs, std::function<QString()> dataFolder,
                  QWidget *parent = nullptr);
    ~RealTimeChart() override;

    // The chart takes the room the tab has left; it asks for little.
    QSize sizeHint() const override { return minimumSizeHint(); }

    // One reading as the grid shows it. A clip reading whose value is not a
    // number is marked at the bottom of the chart.
    void addReading(int channel, const QDateTime &time, double value, bool clip);
    // The grid was reset: the chart starts empty.
    void reset();
    // The display mode's unit, shown on the value axis.
    void setUnits(const QString &units);
    // Channels beyond the installed ones are not offered.
    void setInstalledChannels(int channels);

    // What is drawn now, for the tests and the picture.
    const QLineSeries &series(int channel) const;
    const QScatterSeries &clipMarks() const;
    qint64 windowSeconds() const;
    bool paused() const;
    void redrawNow();
    void savePicture();

    QCheckBox *channelBox(int channel) const { return m_channelBoxes[channel - 1]; }
    QComboBox *windowBox() const { return m_window; }
    QCheckBox *pauseBox() const { return m_pause; }
    QPushButton *saveButton() const { return m_save; }

private:
    void buildControls();
    void buildChart();
    void scheduleRedraw();
    void redraw();

    EventLoop &m_loop;
    Dialogs &m_dialogs;
    std::function<QString()> m_dataFolder;
    ChartHistory m_history;
    std::unique_ptr<Timer> m_redraw;
    std::array<QCheckBox *, ChartHistory::Channels> m_channelBoxes{};
    QComboBox *m_window = nullptr;
    QCheckBox *m_pause = nullptr;
    QPushButton *m_save = nullptr;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    QValueAxis *m_valueAxis = nullptr;
    std::array<QLineSeries *, ChartHistory::Channels> m_series{};
    QScatterSeries *m_clips = nullptr;
};
