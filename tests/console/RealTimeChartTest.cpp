#include "console/ChartHistory.h"
#include "console/RealTimeChart.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QDateTime Start(QDate(2026, 5, 4), QTime(9, 0));

struct ChartBench
{
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    RealTimeChart chart{loop, dialogs, [this] { return folder.path(); }};

    ChartBench() { chart.setInstalledChannels(8); }

    // One reading a second on channels 1 and 2 for the given seconds.
    void feed(int seconds, int from = 0)
    {
        for (int s = from; s < from + seconds; ++s) {
            chart.addReading(1, Start.addSecs(s), 100.0 + s % 7, false);
            chart.addReading(2, Start.addSecs(s), -5.0 - s % 3, false);
        }
    }
};

double maxY(const QList<QPointF> &points)
{
    double m = -1e300;
    for (const QPointF &p : points)
        m = std::max(m, p.y());
    return m;
}

} // namespace

TEST(ChartHistory, ADayAtOneReadingASecondDrawsInFewPointsAndKeepsItsPeaks)
{
    ChartHistory history;
    const qint64 t0 = Start.toMSecsSinceEpoch();
    for (int s = 0; s < 86400; ++s)
        history.add(3, t0 + s * 1000LL, s == 50000 ? 999.0 : (s == 60000 ? -999.0 : std::sin(s / 100.0)), false);
    const QList<QPointF> points = history.points(3, t0, t0 + 86400'000LL, 600);
    EXPECT_LE(points.size(), 1200);
    EXPECT_GT(points.size(), 600);
    EXPECT_EQ(maxY(points), 999.0);
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const QPointF &p) { return p.y() == -999.0; }));
    for (int i = 1; i < points.size(); ++i)
        ASSERT_LE(points[i - 1].x(), points[i].x());
}

TEST(ChartHistory, KeepsADayAndNoMore)
{
    ChartHistory history;
    const qint64 t0 = Start.toMSecsSinceEpoch();
    history.add(1, t0, 1.0, false);
    history.add(1, t0 + ChartHistory::KeepMs + 1000, 2.0, false);
    EXPECT_EQ(history.count(1), 1);
    history.add(9, t0, 1.0, false); // no channel 9
    EXPECT_EQ(history.count(9), 0);
}

TEST(RealTimeChart, FollowsTheReadingsAFewTimesASecond)
{
    ChartBench bench;
    bench.feed(30);
    EXPECT_EQ(bench.chart.series(1).count(), 0) << "drawn at the next redraw, not per reading";
    bench.loop.advanceSeconds(0.3);
    EXPECT_GT(bench.chart.series(1).count(), 0);
    EXPECT_EQ(maxY(bench.chart.series(1).points()), 106.0);
    EXPECT_EQ(bench.chart.series(3).count(), 0);
}

TEST(RealTimeChart, ChannelsSwitchOffAndTheWindowChoosesTheSpan)
{
    ChartBench bench;
    bench.feed(600);
    bench.chart.channelBox(2)->click();
    EXPECT_FALSE(bench.chart.series(2).isVisible());
    EXPECT_EQ(bench.chart.series(2).count(), 0);
    bench.chart.windowBox()->setCurrentIndex(4); // last day
    EXPECT_EQ(bench.chart.series(1).points().first().x(), double(Start.toMSecsSinceEpoch()));
    bench.chart.windowBox()->setCurrentIndex(0); // last minute
    const QList<QPointF> points = bench.chart.series(1).points();
    ASSERT_FALSE(points.isEmpty());
    EXPECT_GE(points.first().x(), double(Start.addSecs(599 - 60).toMSecsSinceEpoch()));
    EXPECT_EQ(bench.chart.windowSeconds(), 60);
    bench.chart.setInstalledChannels(1);
    EXPECT_FALSE(bench.chart.channelBox(2)->isEnabled());
}

TEST(RealTimeChart, PauseFreezesThePictureWhileReadingsAreKept)
{
    ChartBench bench;
    bench.feed(10);
    bench.chart.redrawNow();
    const int before = int(bench.chart.series(1).count());
    bench.chart.pauseBox()->click();
    bench.feed(20, 10);
    bench.loop.advanceSeconds(1);
    EXPECT_EQ(bench.chart.series(1).count(), before);
    bench.chart.pauseBox()->click();
    EXPECT_GT(bench.chart.series(1).count(), before);
}

TEST(RealTimeChart, ClipsAreMarkedAndResetEmptiesTheChart)
{
    ChartBench bench;
    bench.feed(5);
    bench.chart.addReading(1, Start.addSecs(5), 4095, true);
    bench.chart.addReading(2, Start.addSecs(5), std::nan(""), true);
    bench.chart.redrawNow();
    ASSERT_EQ(bench.chart.clipMarks().count(), 2);
    EXPECT_EQ(bench.chart.clipMarks().at(0).y(), 4095);
    EXPECT_TRUE(std::isfinite(bench.chart.clipMarks().at(1).y()));
    bench.chart.reset();
    EXPECT_EQ(bench.chart.series(1).count(), 0);
    EXPECT_EQ(bench.chart.clipMarks().count(), 0);
}

TEST(RealTimeChart, SavesThePictureAsPng)
{
    ChartBench bench;
    bench.chart.resize(600, 400);
    bench.feed(20);
    bench.chart.redrawNow();
    const QString file = bench.folder.filePath("chart");
    bench.dialogs.expectFileName(file);
    bench.chart.saveButton()->click();
    QFile png(file + ".png");
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bench.dialogs.fileDialogs().back().filter, "PNG pictures (*.png)");
}
