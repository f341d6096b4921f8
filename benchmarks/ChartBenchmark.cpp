// How the live chart copes with a day of readings, not an assertion: run
//   QT_QPA_PLATFORM=offscreen ./build/benchmarks/chart_benchmark
// It fills eight channels with one reading a second for a day, then times a
// redraw of the data and a paint of the chart, for each time window.
#include "console/RealTimeChart.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    RealTimeChart chart(loop, dialogs, [] { return QString(); });
    chart.setInstalledChannels(8);
    chart.resize(1000, 400);
    chart.show();
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0));
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < 86400; ++s)
        for (int c = 1; c <= 8; ++c)
            chart.addReading(c, start.addSecs(s), 100 * c + 10 * std::sin(s / 300.0 + c), false);
    std::printf("691,200 readings kept in %.0f ms\n", timer.nsecsElapsed() / 1e6);
    for (int w = 0; w < chart.windowBox()->count(); ++w) {
        chart.windowBox()->setCurrentIndex(w);
        timer.restart();
        const int rounds = 20;
        for (int i = 0; i < rounds; ++i) {
            chart.redrawNow();
            chart.grab();
        }
        std::printf("%-16s redraw and paint: %6.1f ms\n",
                    qPrintable(chart.windowBox()->currentText()), timer.nsecsElapsed() / 1e6 / rounds);
    }
    return 0;
}
