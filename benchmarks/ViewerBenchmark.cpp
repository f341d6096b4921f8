// How the data viewer copes with the download of the largest logger, not an
// assertion: run
//   QT_QPA_PLATFORM=offscreen ./build/benchmarks/viewer_benchmark
// It writes the spreadsheet CSV of a 4 MiB logger full of eight channels
// (2,097,152 counts), then times reading it, opening the viewer on it and
// zooming in and out with the keyboard.
#include "console/ChartViewport.h"
#include "console/DataViewer.h"
#include "console/DownloadChartView.h"
#include "logger/download/DownloadTableReader.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <cmath>
#include <cstdio>

namespace {

constexpr int Channels = 8;
constexpr int Scans = 4 * 1024 * 1024 / 2 / Channels;

QString columnLetters(int column)
{
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

void writeDownload(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray pad(Channels + 2, ',');
    file.write("Description:,\"Benchmark\"\r\nDownload Time Zone:,0,Initialization Time Zone:,+00\r\n"
               "Model Version:,\"T410-8MC\",Serial Number:,\"00041002\"\r\n"
               "Period:,00:00:01,Waits:,00:00:00,scans:,262144,Active Chans:,8\r\n"
               "Start Date:,2026-01-01 00:00:00\r\n\r\n");
    QByteArray chans = pad + "Chans:,", slope = pad + "Slope:,", offset = pad + "Offset:,", eu = pad + "EU's:,";
    for (int c = 1; c <= Channels; ++c) {
        chans += "chan. " + QByteArray::number(c) + ',';
        slope += "+2.50000E-01,";
        offset += "-1.00000E+01,";
        eu += "\"PSI \",";
    }
    file.write(chans + "\r\n" + slope + "\r\n" + offset + "\r\n" + eu + "\r\n\r\n");
    file.write("Scan#,Date_Time\r\nStart of Downloaded Data,,Counts\r\n");
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int s = 0; s < Scans; ++s) {
        QByteArray row = QByteArray::number(s + 1) + ',' + start.addSecs(s).toString("yyyy-MM-dd hh:mm:ss").toLatin1() + ',';
        for (int c = 1; c <= Channels; ++c)
            row += QByteArray::number(2000 + int(1500 * std::sin(s / 5000.0 + c))) + ',';
        row += ',';
        for (int c = 0; c < Channels; ++c)
            row += QStringLiteral("=%1%2*%3$13+%3$14+%3$12,").arg(columnLetters(3 + c)).arg(s + 20).arg(columnLetters(12 + c)).toLatin1();
        file.write(row + "\r\n");
    }
    file.write("End of Downloaded Data,2026-01-05 00:00:00\r\n");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("00041002-20260105-000000 .CSV");
    QElapsedTimer timer;
    timer.start();
    writeDownload(path);
    std::printf("%d scans of %d channels written (%.1f MB) in %.0f ms\n", Scans, Channels,
                QFile(path).size() / 1e6, timer.nsecsElapsed() / 1e6);

    timer.restart();
    DownloadRead read = DownloadTableReader().read(path);
    const double readMs = timer.nsecsElapsed() / 1e6;
    std::printf("read: %.0f ms (%lld rows) %s\n", readMs, qlonglong(read.table.rowCount()), qPrintable(read.message));

    ScriptedDialogs dialogs;
    timer.restart();
    DataViewer viewer(dialogs, std::move(read), [] { return QString(); });
    viewer.resize(1200, 700);
    viewer.show();
    viewer.grab();
    const double openMs = timer.nsecsElapsed() / 1e6;
    std::printf("viewer built and painted: %.0f ms; read and open: %.0f ms\n", openMs, readMs + openMs);

    for (Qt::Key key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Right}) {
        const int rounds = 10;
        timer.restart();
        for (int i = 0; i < rounds; ++i) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(&viewer.chartView(), &press);
            viewer.chartView().grab();
        }
        std::printf("%-6s redraw and paint: %6.1f ms a step\n", key == Qt::Key_Plus ? "zoom" : key == Qt::Key_Minus ? "unzoom" : "pan",
                    timer.nsecsElapsed() / 1e6 / rounds);
    }
    return 0;
}
