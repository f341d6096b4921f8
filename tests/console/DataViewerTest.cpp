#include "tests/console/MainWindowFixture.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/ScopedTimeZone.h"

#include "console/ChartViewport.h"
#include "console/DataViewer.h"
#include "console/DownloadChart.h"
#include "console/DownloadChartView.h"
#include "console/OpenDownloadCommand.h"
#include "ui_DataViewer.h"

#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

namespace {

// A download's spreadsheet file as the program writes it: two columns, a
// clip of each kind, a status event after scan 2 and rows without a time
// after it.
const QByteArray PartsCsv =
    "Header Downloaded:,2026 12 11 05:31:37,\r\n"
    "\r\n"
    "Description:,\"Pump station 7\"\r\n"
    "Download Time Zone:,0,Initialization Time Zone:,-01\r\n"
    ",NOTE: Initialization and Download Time Zones are NOT the same!\r\n"
    "Model Version:,\"T410-8MC\",Serial Number:,\"00041002\",Cal-Interval:,0,A/D Resolution:,12\r\n"
    "Period:,00:01:00,Waits:,00:02:00,scans:,4,Active Chans:,2\r\n"
    "Init Date:,2026-12-07 03:29:32,Start Date:,2026-12-07 03:31:32,Stop Date:,,Installed Chans:,8\r\n"
    "\r\n"
    ",,,,Chans:,chan. 1,chan. 2,\r\n"
    ",,,,Location:,\"PUMP\",\"PIPE\",\r\n"
    ",,,,TARE:,0,0,\r\n"
    ",,,,Slope:,+2.50000E-01,+1.00000E-01,\r\n"
    ",,,,Offset:,-1.00000E+01,+0.00000E+00,\r\n"
    ",,,,EU's:,\"PSI \",\"DegF\",\r\n"
    "\r\n"
    "Scan#,Date_Time,Chan 1,Chan 2,,\"PUMP\",\"PIPE\",\r\n"
    "Start of Downloaded Data,,Counts,Counts,,\"PSI \",\"DegF\",\r\n"
    "1,2026-12-07 03:31:32,100,500,,=C20*F$13+F$14+F$12,=D20*G$13+G$14+G$12,\r\n"
    "2,2026-12-07 03:32:32,0,510,,Low Clip,=D21*G$13+G$14+G$12,\r\n"
    ",EVENT/ERROR:,_VBatLO_LogDone --- \r\n"
    "3,,120,4095,,=C23*F$13+F$14+F$12,High Clip,\r\n"
    "4,,140,530,,=C24*F$13+F$14+F$12,=D24*G$13+G$14+G$12,\r\n"
    "End of Downloaded Data,2026-12-11 05:32:05\r\n"
    "\r\n"
    "Start of Download Notes\r\n"
    "End of Download Notes\r\n";

const QByteArray TidyCsv = "scan,time,ch1 count,ch1 PUMP (PSI),ch1 clip\r\n"
                           "1,2026-03-29T01:30:00+01:00,100,15,\r\n"
                           "2,2026-03-29T01:31:00+01:00,110,17.5,\r\n"
                           "3,2026-03-29T01:32:00+01:00,120,20,\r\n";

QList<QPointF> points(const QXYSeries &series)
{
    return series.points();
}

} // namespace

class DataViewerTest : public MainWindowFixture
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dataFolder + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Opens the file through the File menu as the operator does.
    DataViewer *openThroughMenu(const QString &path)
    {
        dialogs.expectFileName(path);
        window->ui().mnuFileOpenDownload->trigger();
        const QList<DataViewer *> viewers = window->findChildren<DataViewer *>();
        return viewers.isEmpty() ? nullptr : viewers.last();
    }
};

TEST_F(DataViewerTest, TheFileMenuOffersOpenDownloadAndRebuildFromRaw)
{
    loadConfigured();
    const QList<QAction *> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    // Alt+F stays the Defaults tab's factory button.
    EXPECT_EQ(menus[0]->text(), "Fil&e");
    EXPECT_EQ(menus[1]->text(), "&Help");
    EXPECT_EQ(window->ui().mnuFileOpenDownload->text(), "&Open Download...");
    EXPECT_EQ(window->ui().mnuFileRebuildRaw->text(), "&Rebuild from RAW...");
    EXPECT_TRUE(window->ui().mnuFileRebuildRaw->isEnabled());

    dialogs.expectFileName(QString());
    window->ui().mnuFileOpenDownload->trigger();
    ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs()[0].title, "Open Download");
    EXPECT_EQ(dialogs.fileDialogs()[0].folder, dataFolder);
    EXPECT_TRUE(dialogs.fileDialogs()[0].filter.contains("RAW"));
    EXPECT_TRUE(window->findChildren<DataViewer *>().isEmpty());
}

TEST_F(DataViewerTest, ASpreadsheetDownloadShowsItsLoggerValuesClipsAndEvents)
{
    loadConfigured();
    DataViewer *viewer = openThroughMenu(write("00041002-20261211-053139 .CSV", PartsCsv));
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->ui().txtLogger->text(), "00041002 T410-8MC");
    EXPECT_EQ(viewer->ui().txtTest->text(), "Pump station 7");
    EXPECT_EQ(viewer->ui().txtStart->text(), "2026-12-07 03:31:32 UTC+01:00");
    EXPECT_EQ(viewer->ui().txtPeriod->text(), "00:01:00");
    EXPECT_EQ(viewer->ui().txtReadNote->text(), "read all 4 rows");
    EXPECT_EQ(viewer->windowTitle(), "Data Viewer - 00041002-20261211-053139 .CSV");

    // Rows after the event carry no time: the chart runs over scan numbers.
    DownloadChart &chart = viewer->chart();
    EXPECT_FALSE(chart.timed());
    EXPECT_EQ(chart.series(0).name(), "ch1 PUMP (PSI)");
    EXPECT_EQ(points(chart.series(0)), (QList<QPointF>{{1, 15}, {3, 20}, {4, 25}}));
    EXPECT_EQ(points(chart.series(1)), (QList<QPointF>{{1, 50}, {2, 51}, {4, 53}}));
    EXPECT_EQ(chart.clipMarks().name(), "Clips");
    ASSERT_EQ(chart.clipMarks().count(), 2);
    EXPECT_EQ(chart.clipMarks().at(0).x(), 2);
    EXPECT_LT(chart.clipMarks().at(0).y(), 15);
    EXPECT_EQ(chart.clipMarks().at(1).x(), 3);
    EXPECT_GT(chart.clipMarks().at(1).y(), 53);
    EXPECT_EQ(chart.eventMarks().name(), "Events");
    ASSERT_EQ(chart.eventMarks().count(), 1);
    EXPECT_EQ(chart.eventMarks().at(0).x(), 2);

    // A column switched off leaves the chart and its clips.
    QListWidget *list = viewer->ui().lstChannels;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "ch2 PIPE (DegF)");
    list->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(chart.series(1).isVisible());
    EXPECT_TRUE(points(chart.series(1)).isEmpty());
    EXPECT_EQ(chart.clipMarks().count(), 1);
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(points(chart.series(1)).size(), 3);
}

TEST_F(DataViewerTest, ATidyDownloadRunsOverTheLoggersClockWhateverThePcsZone)
{
    const ScopedTimeZone zone("America/New_York");
    loadConfigured();
    DataViewer *viewer = openThroughMenu(write("00041002-20260329-013000 .tidy.csv", TidyCsv));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->ui().txtLogger->text(), "00041002");
    EXPECT_EQ(viewer->ui().txtFile->text(), "00041002-20260329-013000 .tidy.csv (tidy CSV)");
    DownloadChart &chart = viewer->chart();
    ASSERT_TRUE(chart.timed());
    EXPECT_EQ(points(chart.series(0)), (QList<QPointF>{{0, 15}, {60, 17.5}, {120, 20}}));
    const QStringList labels = static_cast<QCategoryAxis &>(chart.xAxis()).categoriesLabels();
    EXPECT_TRUE(labels.contains("01:31:00")) << labels.join(' ').toStdString();
    EXPECT_EQ(chart.xAxis().titleText(), "Time (UTC+01:00)");
}

TEST_F(DataViewerTest, KeysAndMouseZoomAndPan)
{
    loadConfigured();
    QByteArray rows = "scan,time,ch1 count,ch1 value,ch1 clip\r\n";
    for (int s = 1; s <= 1001; ++s)
        rows += QByteArray::number(s) + ",," + QByteArray::number(s % 50 + 1) + ',' + QByteArray::number(s % 50) + ",\r\n";
    DataViewer *viewer = openThroughMenu(write("long.tidy.csv", rows));
    ASSERT_NE(viewer, nullptr);
    viewer->resize(900, 600);
    ChartViewport &v = viewer->viewport();
    DownloadChartView &view = viewer->chartView();
    EXPECT_EQ(v.from(), 1);
    EXPECT_EQ(v.to(), 1001);

    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(v.to() - v.from(), 1000 / DownloadChartView::ZoomStep);
    EXPECT_EQ(viewer->chart().xAxis().min(), v.from());
    const double from = v.from();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_GT(v.from(), from);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_LT(v.from(), from);
    QTest::keyClick(&view, Qt::Key_Minus);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(v.from(), 1);
    EXPECT_EQ(v.to(), 1001);

    // The wheel over the chart: its events reach the view through its viewport.
    const QPointF centre = view.viewport()->rect().center();
    QWheelEvent wheel(centre, view.viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_TRUE(v.zoomed());
    EXPECT_NEAR(v.to() - v.from(), 1000 / DownloadChartView::ZoomStep, 1e-6);
    // Dragging with the right button takes the data along: to the left
    // brings later scans in.
    const double before = v.from();
    const QPoint press = view.viewport()->rect().center();
    QMouseEvent down(QEvent::MouseButtonPress, press, view.viewport()->mapToGlobal(press), Qt::RightButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &down);
    const QPoint left = press - QPoint(100, 0);
    QMouseEvent move(QEvent::MouseMove, left, view.viewport()->mapToGlobal(left), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QMouseEvent up(QEvent::MouseButtonRelease, left, view.viewport()->mapToGlobal(left), Qt::RightButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &up);
    EXPECT_GT(v.from(), before);
    EXPECT_NEAR(v.to() - v.from(), 1000 / DownloadChartView::ZoomStep, 1e-6);
    viewer->ui().cmdResetZoom->click();
    EXPECT_FALSE(v.zoomed());
    EXPECT_EQ(viewer->ui().cmdResetZoom->accessibleName(), viewer->ui().cmdResetZoom->text());
}

TEST_F(DataViewerTest, SaveAsPngWritesThePicture)
{
    loadConfigured();
    DataViewer *viewer = openThroughMenu(write("pump.tidy.csv", TidyCsv));
    ASSERT_NE(viewer, nullptr);
    const QString picture = dataFolder + "/chart";
    dialogs.expectFileName(picture);
    viewer->ui().cmdSavePng->click();
    ASSERT_GE(dialogs.fileDialogs().size(), 2u);
    EXPECT_EQ(dialogs.fileDialogs().back().title, "Save Chart as PNG");
    EXPECT_EQ(dialogs.fileDialogs().back().folder, dataFolder + "/pump.tidy.png");
    const QImage image(picture + ".png");
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
}

TEST_F(DataViewerTest, AFileThatIsNoDownloadIsRefusedInABox)
{
    loadConfigured();
    dialogs.expect("Open Download");
    EXPECT_EQ(openThroughMenu(write("other.CSV", "Name,Age\r\nBob,42\r\n")), nullptr);
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text,
              "other.CSV cannot be opened: it is not a logger download (no \"Description:\" line at its top).");
    EXPECT_EQ(dialogs.shown().back().icon, int(Dialogs::Critical));
}

TEST_F(DataViewerTest, AFileSpoiltPartWayIsShownUpToTheFaultAndSaysSo)
{
    loadConfigured();
    DataViewer *viewer = openThroughMenu(write("cut.tidy.csv", TidyCsv.left(TidyCsv.size() - 5)));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->ui().txtReadNote->text(), "cut.tidy.csv: read 2 rows; line 4: the row has 4 cells, the heading 5.");
    EXPECT_EQ(points(viewer->chart().series(0)).size(), 2);
}

TEST_F(DataViewerTest, EveryFieldIsNamedByItsLabel)
{
    loadConfigured();
    DataViewer *viewer = openThroughMenu(write("pump.tidy.csv", TidyCsv));
    ASSERT_NE(viewer, nullptr);
    for (QLabel *label : viewer->findChildren<QLabel *>()) {
        if (!label->buddy())
            continue;
        EXPECT_EQ(label->buddy()->accessibleName(), label->text()) << label->objectName().toStdString();
    }
    EXPECT_EQ(viewer->ui().lblChannels->buddy(), viewer->ui().lstChannels);
    for (QPushButton *button : viewer->findChildren<QPushButton *>())
        EXPECT_EQ(button->accessibleName(), button->text());
}
