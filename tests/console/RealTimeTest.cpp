#include "tests/console/LoggerWindowFixture.h"

#include "console/MainTab.h"
#include "console/RealTimeChart.h"
#include "console/RealTimeDisplay.h"
#include "logger/LoggerHeader.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"

#include <QSignalSpy>
#include <QtCharts/QLineSeries>
#include <QTest>
#include <cmath>
#include <limits>

// The Real Time tab against the simulated logger, driven as an operator
// drives it: the tab entered, its boxes answered, the named controls clicked.
class RealTime : public LoggerWindowFixture
{
protected:
    explicit RealTime(LoggerPreset preset = LoggerPreset::Downloaded, const QByteArray &firmware = {})
        : LoggerWindowFixture(image(preset, firmware))
    {
    }
    explicit RealTime(const LoggerImage &image)
        : LoggerWindowFixture(image)
    {
    }
    static LoggerImage image(LoggerPreset preset, const QByteArray &firmware)
    {
        LoggerImage built = LoggerPresets::build(preset, VirtualEventLoop().now());
        if (!firmware.isEmpty())
            LoggerPresets::setFirmwareVersion(built, firmware);
        return built;
    }

    void SetUp() override
    {
        openWindow();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        logOn();
        ASSERT_TRUE(connection.header.headerValid);
    }

    RealTimeDisplay &rt() { return window->realTime(); }
    void enterTab()
    {
        ui().SSTab1->setCurrentIndex(MainTab::RealTime);
        settle(1);
    }
    void start()
    {
        QTest::mouseClick(ui().OptShowRTData, Qt::LeftButton, {}, QPoint(6, ui().OptShowRTData->height() / 2));
    }
    void stop()
    {
        QTest::mouseClick(ui().OptStopRTData, Qt::LeftButton, {}, QPoint(6, ui().OptStopRTData->height() / 2));
    }
    void click(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = window->ui().MFgRealTime->item(row, column);
        return item ? item->text() : QString();
    }
    // Runs the display until `count` readings have been accumulated.
    void runUntilCount(qint64 count)
    {
        for (int i = 0; i < 10 * count + 20 && rt().statCount() < count; ++i)
            settle(0.25);
        ASSERT_EQ(rt().statCount(), count);
    }
    void typeInterval(const QString &text)
    {
        QLineEdit *field = ui().txtRTDInterval;
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    int requestsSent()
    {
        return int(port.writtenText().count(QStringLiteral("r|")));
    }
};

TEST_F(RealTime, StoppedLoggerPollsAndFillsTheGrid)
{
    enterTab();
    EXPECT_TRUE(dialogs.shown().empty()) << "no question for a logger that is not logging";
    ASSERT_TRUE(ui().OptShowRTData->isEnabled());
    EXPECT_FALSE(rt().rtFollowLogging());
    port.forget();
    start();
    EXPECT_TRUE(rt().rtActive());
    EXPECT_TRUE(ui().OptStopRTData->isEnabled());
    EXPECT_TRUE(ui().lblRTActive->isVisibleTo(window.get()));
    settle(3.5);

    const int rows = connection.header.installedChannels;
    ASSERT_EQ(rows, 8);
    ASSERT_EQ(ui().MFgRealTime->rowCount(), rows + 1);
    const QString headings[] = {"Sensor Number", "Loc Code", "", "Eng Units", "Average", "Max Deviation", "3-Sigma"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(cell(0, c), headings[c]);
    EXPECT_EQ(cell(1, 0), "Sensor 1");
    EXPECT_EQ(cell(8, 0), "Sensor 8");
    for (int k = 1; k <= rows; ++k) {
        EXPECT_EQ(cell(k, 1), connection.header.channel[size_t(k - 1)].location);
        EXPECT_EQ(cell(k, 3), connection.header.channel[size_t(k - 1)].engUnits);
        EXPECT_FALSE(cell(k, 2).isEmpty()) << k;
        EXPECT_EQ(cell(k, 4), "0");
    }
    const QString wire = port.writtenText();
    EXPECT_GE(requestsSent(), 3) << wire.toStdString();

    stop();
    EXPECT_FALSE(rt().rtActive());
    EXPECT_FALSE(rt().pollTimer().isActive());
    EXPECT_FALSE(ui().OptShowRTData->isChecked());
    port.forget();
    settle(5);
    EXPECT_EQ(requestsSent(), 0);
}

TEST_F(RealTime, IntervalField)
{
    enterTab();
    const struct
    {
        QString typed;
        QString shown;
        int ms;
    } cases[] = {
        {"0.2", "1.0", 1000}, {"0.7", "0.7", 700}, {"2", "2", 2000},       {"abc", "1.0", 1000},
        {"-3", "1.0", 1000},  {"1,5", "1.0", 1000}, {"1e12", "86400", 86400000}, {"", "1.0", 1000},
    };
    for (const auto &c : cases) {
        typeInterval(c.typed);
        start();
        settle(1.5);
        EXPECT_EQ(ui().txtRTDInterval->text(), c.shown) << c.typed.toStdString();
        EXPECT_EQ(rt().pollTimer().intervalMs(), c.ms) << c.typed.toStdString();
        stop();
    }
}

TEST_F(RealTime, ClipCountsShowTheirTexts)
{
    logger.inputs().force(1, 0);
    logger.inputs().force(2, 4095);
    logger.inputs().force(3, 1);
    QSignalSpy readings(&rt(), &RealTimeDisplay::readingShown);
    enterTab();
    start();
    settle(2.5);
    EXPECT_EQ(cell(1, 2), "LO-CLIP");
    EXPECT_EQ(cell(2, 2), "HI-CLIP");
    EXPECT_NE(cell(3, 2), "LO-CLIP");
    ASSERT_FALSE(readings.isEmpty());
    const QList<QVariant> first = readings.first();
    EXPECT_EQ(first.at(0).toInt(), 1);
    EXPECT_TRUE(first.at(3).toBool()) << "channel 1 is a clip reading";
}

TEST_F(RealTime, StatisticsOfOneTwoThree)
{
    enterTab();
    click(ui().chkDispADCounts);
    ASSERT_EQ(rt().displayMode(), DisplayMode::Counts);
    click(ui().chkAccumStats);
    logger.inputs().ramp(1, 1, 1);
    start();
    EXPECT_EQ(cell(1, 3), "Counts");
    runUntilCount(3);
    stop();
    EXPECT_EQ(ui().lblCumCount->text(), "3");
    EXPECT_EQ(cell(1, 2), "3");
    EXPECT_EQ(cell(1, 4), "2");
    EXPECT_EQ(cell(1, 5), "2.00");
    EXPECT_DOUBLE_EQ(rt().statistics(1).variance(), 2.0 / 3.0);
    EXPECT_EQ(cell(1, 6), QString::number(std::lround(3 * std::sqrt(2.0 / 3.0))));
}

TEST_F(RealTime, EveryHundredthReadingBeeps)
{
    enterTab();
    click(ui().chkAccumStats);
    start();
    runUntilCount(99);
    const int beeps = dialogs.beeps();
    runUntilCount(100);
    EXPECT_EQ(dialogs.beeps(), beeps + 1);
    EXPECT_EQ(ui().lblCumCount->text(), "100");
}

TEST_F(RealTime, UntickingHoldsAndTickingRestarts)
{
    enterTab();
    click(ui().chkAccumStats);
    start();
    runUntilCount(4);
    click(ui().chkAccumStats);
    ASSERT_FALSE(ui().chkAccumStats->isChecked());
    const QString average = cell(1, 4);
    const QString sigma = cell(1, 6);
    settle(5);
    EXPECT_EQ(rt().statCount(), 4);
    EXPECT_EQ(ui().lblCumCount->text(), "4");
    EXPECT_EQ(cell(1, 4), average);
    EXPECT_EQ(cell(1, 6), sigma);

    click(ui().chkAccumStats);
    EXPECT_EQ(rt().statCount(), 0);
    runUntilCount(1);
    EXPECT_EQ(ui().lblCumCount->text(), "1");
    EXPECT_EQ(cell(1, 5), "0.00") << "one reading has no spread";
}

TEST_F(RealTime, TrueMillivoltBoxWarnsStopsAndRebuildsTheUnits)
{
    enterTab();
    start();
    settle(1.5);
    dialogs.expect("True mV validation");
    QSignalSpy modes(&rt(), &RealTimeDisplay::displayModeChanged);
    click(ui().chkDisplayTruemV);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().back().text,
              "The 'TRUE mV' option reports true input in milli-Volts.\r\n\r\n"
              "Do not use this option for gathering calibration data.\r\n"
              "Use ADC COUNTS for Calibration values.\r\n");
    EXPECT_FALSE(rt().rtActive());
    EXPECT_EQ(cell(1, 3), "True mV");
    ASSERT_EQ(modes.size(), 1);
    EXPECT_EQ(modes.first().at(0).value<DisplayMode>(), DisplayMode::TrueMillivolts);
    click(ui().chkDisplayTruemV);
    EXPECT_EQ(cell(1, 3), connection.header.channel[0].engUnits);
}

// A calibration that makes a reading overflow stops the statistics and asks.
TEST_F(RealTime, AnOverflowingReadingStopsTheStatisticsWithTheErrorBox)
{
    connection.header.channel[0].slope.value = std::numeric_limits<float>::infinity();
    enterTab();
    click(ui().chkAccumStats);
    dialogs.expect("subDisplayRT()", Dialogs::Retry);
    start();
    settle(1.5);
    EXPECT_FALSE(ui().chkAccumStats->isChecked());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "3 Rounding error in statistics routines. \r\n"
              "err#:6, Overflow\r\n"
              "Error Location: subDisplayRT()\r\n"
              "RETRY to return to logger program, CANCEL to terminate program.\r\n");
    EXPECT_EQ(dialogs.shown()[0].buttons, int(Dialogs::RetryCancel));
    EXPECT_TRUE(rt().rtActive()) << "Retry returns to the program";
}

// Replies the display did not ask for: after Stop, or "l" lines while polling.
TEST_F(RealTime, RepliesAfterStopAreIgnored)
{
    enterTab();
    start();
    settle(1.5);
    stop();
    const QString before = cell(1, 2);
    Q_EMIT connection.link.lineReceived(QStringLiteral("r1:000,2:000,3:000,4:000,5:000,6:000,7:000,8:000,#00"));
    Q_EMIT connection.link.lineReceived(QStringLiteral("l1:000,2:000,3:000,4:000,5:000,6:000,7:000,8:000,#00"));
    EXPECT_EQ(cell(1, 2), before);
    start();
    Q_EMIT connection.link.lineReceived(QStringLiteral("l1:000,2:000,3:000,4:000,5:000,6:000,7:000,8:000,#00"));
    EXPECT_EQ(cell(1, 2), before) << "an \"l\" line while polling is not ours";
}

TEST_F(RealTime, ANewLoggerStopsTheDisplayAndBlanksTheStatistics)
{
    enterTab();
    click(ui().chkAccumStats);
    start();
    runUntilCount(2);
    QSignalSpy resets(&rt(), &RealTimeDisplay::displayReset);
    logger.unplug();
    settle(10);
    EXPECT_FALSE(rt().rtActive());
    logger.plugIn();
    settle(30);
    EXPECT_FALSE(rt().rtActive());
    EXPECT_FALSE(ui().chkAccumStats->isChecked());
    EXPECT_TRUE(ui().lblCumCount->text().isEmpty());
    EXPECT_TRUE(cell(1, 4).isEmpty());
    EXPECT_TRUE(cell(1, 2).isEmpty());
    EXPECT_GE(resets.size(), 1);
}

TEST_F(RealTime, LeavingTheTabStopsPollingAtTheNextTick)
{
    enterTab();
    start();
    settle(1.5);
    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    settle(2);
    EXPECT_FALSE(rt().rtActive());
    EXPECT_FALSE(rt().pollTimer().isActive());
}

// ---------------------------------------------------------------- a logging test

class RealTimeLogging : public RealTime
{
protected:
    explicit RealTimeLogging(const QByteArray &firmware = {})
        : RealTime(LoggerPreset::Logging, firmware)
    {
    }
    const QString question = QStringLiteral(
        "Logging is enabled.\r\n"
        "Logging should be turned off (=YES) to use RT functions, \r\n"
        "or left ON (=NO) to monitor data as it is being logged .\r\r"
        "YES will require re-initialization of the logger to continue logging."
        "Do you want to turn off logging now? ");
};

TEST_F(RealTimeLogging, CancelReturnsToTheDataLoggerTab)
{
    dialogs.expect("RT Stop Logging?", Dialogs::Cancel);
    enterTab();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, question);
    EXPECT_EQ(dialogs.shown()[0].buttons, int(Dialogs::YesNoCancel));
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::DataLogger);
    EXPECT_FALSE(ui().OptShowRTData->isEnabled());
    EXPECT_TRUE(logger.isLogging());
}

TEST_F(RealTimeLogging, NoFollowsTheTestAtItsScanPeriod)
{
    dialogs.expect("RT Stop Logging?", Dialogs::No);
    port.forget();
    enterTab();
    EXPECT_TRUE(port.writtenText().contains("t|")) << "dump output on";
    EXPECT_TRUE(rt().rtFollowLogging());
    EXPECT_TRUE(rt().rtActive());
    EXPECT_FALSE(rt().pollTimer().isActive());
    EXPECT_EQ(ui().lblCurrentSetup->text(), "Current Setup: 10.00");
    EXPECT_EQ(ui().lblCurrentSetupUnits->text(), "In Seconds");
    EXPECT_TRUE(ui().lblScanInterval->isVisibleTo(window.get()));

    port.forget();
    settle(35);
    EXPECT_EQ(requestsSent(), 0) << "a followed test is not polled";
    EXPECT_FALSE(cell(1, 2).isEmpty());
    EXPECT_EQ(ui().lblScanInterval->text(), "10.00");
    EXPECT_TRUE(logger.isLogging());
}

// While a test is followed every "l" line is taken, as far as it is valid.
TEST_F(RealTimeLogging, BadLinesAreIgnoredOrReadAsFarAsTheyAreValid)
{
    dialogs.expect("RT Stop Logging?", Dialogs::No);
    enterTab();
    click(ui().chkDispADCounts);
    start();
    ASSERT_TRUE(rt().rtFollowLogging());
    ASSERT_EQ(ui().MFgRealTime->rowCount(), 5) << "four installed channels";
    const struct
    {
        QString line;
        QString shown[4];
    } cases[] = {
        // More channels than the grid: the first four are read.
        {"l1:001,2:002,3:003,4:004,5:005,6:006,7:007,8:008,9:009,#00", {"1", "2", "3", "4"}},
        // Too short for the selected channels: ignored.
        {"l1:0FF", {"1", "2", "3", "4"}},
        // Not hexadecimal in channel 2: the others are read.
        {"l1:010,2:0X0,3:030,4:040,#00", {"16", "2", "48", "64"}},
        // Channel 4 cut short, though the line is long enough.
        {"l1:011,2:021,3:031,4:0,#0000000", {"17", "33", "49", "64"}},
        // Not a reading line at all.
        {"x1:000,2:000,3:000,4:000,#00", {"17", "33", "49", "64"}},
    };
    for (const auto &c : cases) {
        Q_EMIT connection.link.lineReceived(c.line);
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(cell(k, 2), c.shown[k - 1]) << c.line.toStdString() << " channel " << k;
    }
}

TEST_F(RealTimeLogging, YesAndYesStopsTheLogger)
{
    dialogs.expect("RT Stop Logging?", Dialogs::Yes);
    dialogs.expect("Stop for Realtime?", Dialogs::Yes);
    const int beeps = dialogs.beeps();
    port.forget();
    enterTab();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Do you really want to stop the logger?");
    EXPECT_EQ(dialogs.shown()[1].buttons, int(Dialogs::YesNo));
    EXPECT_EQ(dialogs.shown()[1].defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_GE(dialogs.beeps(), beeps + 1);
    EXPECT_TRUE(port.writtenText().contains("m|")) << port.writtenText().toStdString();
    EXPECT_FALSE(logger.isLogging());
    EXPECT_TRUE(ui().OptShowRTData->isEnabled());
    EXPECT_FALSE(rt().rtFollowLogging());
}

TEST_F(RealTimeLogging, YesThenNoChangesNothing)
{
    dialogs.expect("RT Stop Logging?", Dialogs::Yes);
    dialogs.expect("Stop for Realtime?", Dialogs::No);
    port.forget();
    enterTab();
    EXPECT_FALSE(port.writtenText().contains("m|"));
    EXPECT_TRUE(logger.isLogging());
    EXPECT_FALSE(ui().OptShowRTData->isEnabled());
}

// The followed test scans every 10 s: its scan numbers can be shown.
TEST_F(RealTimeLogging, ScanNumbersFollowTheTest)
{
    dialogs.expect("RT Stop Logging?", Dialogs::No);
    enterTab();
    ASSERT_TRUE(ui().ChkShowScans->isVisibleTo(window.get()));
    EXPECT_FALSE(ui().lblScanNumber->isVisibleTo(window.get()));
    click(ui().ChkShowScans);
    EXPECT_EQ(dialogs.shown().size(), 1u) << "no refusal at 10 s";
    EXPECT_TRUE(ui().ChkShowScans->isChecked());
    EXPECT_TRUE(ui().lblScanNumber->isVisibleTo(window.get()));
    EXPECT_TRUE(ui().lblScanNumber->text().isEmpty());
    settle(25);
    bool ok = false;
    const int last = ui().lblLastScanNum->text().toInt(&ok);
    ASSERT_TRUE(ok) << ui().lblLastScanNum->text().toStdString();
    EXPECT_EQ(ui().lblPrevScanNum->text().toInt(), last - 1);
    EXPECT_TRUE(rt().rtActive());
}

// ---------------------------------------------------------------- the Data Logger tab's positions

TEST_F(RealTime, CurrentReadingFillsTheFourPositions)
{
    ui().SSTab1->setCurrentIndex(MainTab::Setup);
    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    const ChannelCalRecord &ch1 = connection.header.channel[0];
    EXPECT_EQ(ui().lblRTCaptionPosition1->text(), "Ch1: " + ch1.location + " " + ch1.engUnits);
    logger.inputs().force(2, 4095);
    port.forget();
    ui().lblCurrentReading->click();
    const QString wire = port.writtenText();
    EXPECT_TRUE(wire.contains("t|")) << "dump output on first: " << wire.toStdString();
    EXPECT_EQ(requestsSent(), 1) << wire.toStdString();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(ui().lblRTPosition1->text().isEmpty());
    EXPECT_EQ(ui().lblRTPosition2->text(), "HI-CLIP");
    EXPECT_FALSE(ui().lblRTPosition4->text().isEmpty());
}

TEST_F(RealTime, PositionsFollowTheRunningDisplay)
{
    enterTab();
    click(ui().chkDispADCounts);
    logger.inputs().force(3, 1234);
    start();
    settle(1.5);
    EXPECT_EQ(cell(3, 2), "1,234");
    EXPECT_EQ(ui().lblRTPosition3->text(), "1,234");
    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    EXPECT_EQ(ui().lblRTCaptionPosition3->text(), "Ch3: " + connection.header.channel[2].location + " Counts");
}

// A logging logger of another firmware is read without asking.
TEST_F(RealTimeLogging, CurrentReadingOfALoggingTestWithoutTheQuestion)
{
    ASSERT_FALSE(connection.header.firmwareVersion.contains("Z80"));
    port.forget();
    ui().lblCurrentReading->click();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(requestsSent(), 1);
    EXPECT_FALSE(ui().lblRTPosition1->text().isEmpty());
}

class RealTimeAskingFirmware : public RealTimeLogging, public ::testing::WithParamInterface<const char *>
{
protected:
    RealTimeAskingFirmware()
        : RealTimeLogging(GetParam())
    {
    }
    const QString warning = QStringLiteral(
        "WARNING!  Logging is ENABLED!   WARNING!\r\n\r\n"
        "Click YES to add this data to your test file.\r\n"
        "This will invalidate the reported times on all future scans!\r\n"
        "(by the scan interval: 00:00:10)\r\n\r\n"
        "CONTINUE?  (NO to abort)\r\n");
};

TEST_P(RealTimeAskingFirmware, NoLeavesThePositionsEmpty)
{
    ASSERT_EQ(connection.header.firmwareVersion, QString::fromLatin1(GetParam()));
    dialogs.expect("WARNING--/r/ write data error", Dialogs::Yes);
    ui().lblCurrentReading->click();
    ASSERT_FALSE(ui().lblRTPosition1->text().isEmpty());
    dialogs.expect("WARNING--/r/ write data error", Dialogs::No);
    port.forget();
    ui().lblCurrentReading->click();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, warning);
    EXPECT_EQ(dialogs.shown()[1].buttons, int(Dialogs::YesNo));
    EXPECT_EQ(requestsSent(), 0);
    EXPECT_TRUE(ui().lblRTPosition1->text().isEmpty());
}

TEST_P(RealTimeAskingFirmware, YesTakesTheReading)
{
    dialogs.expect("WARNING--/r/ write data error", Dialogs::Yes);
    port.forget();
    ui().lblCurrentReading->click();
    EXPECT_EQ(requestsSent(), 1);
    EXPECT_FALSE(ui().lblRTPosition1->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Firmware, RealTimeAskingFirmware, ::testing::Values("Z820", "Z812", "Z805"));

// A test preset to scan every 2 s has no scan-number display.
class RealTimeFastLogging : public RealTime
{
protected:
    RealTimeFastLogging()
        : RealTime(fastImage())
    {
    }
    static LoggerImage fastImage()
    {
        LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, VirtualEventLoop().now());
        LiveBlock::Setup preset = LiveBlock::setup(image.header, LiveBlock::PresetLine);
        preset.period = 2;
        LiveBlock::setSetup(image.header, LiveBlock::PresetLine, preset);
        return image;
    }
};

TEST_F(RealTimeFastLogging, ScanNumbersAreRefusedBelowFiveSeconds)
{
    dialogs.expect("RT Stop Logging?", Dialogs::No);
    enterTab();
    ASSERT_EQ(connection.capture.values().preset.period.value, 2u);
    dialogs.expect("ScanNumb Display");
    click(ui().ChkShowScans);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Scan number display does not work at scan intervals <5 seconds.");
    EXPECT_FALSE(ui().ChkShowScans->isChecked());
    EXPECT_FALSE(ui().lblScanNumber->isVisibleTo(window.get()));
}

// The chart below the grid draws what the grid shows and starts again with it.
TEST_F(RealTime, ChartFillsWithTheGridsReadings)
{
    enterTab();
    start();
    settle(6);
    RealTimeChart &chart = window->chart();
    chart.redrawNow();
    ASSERT_GE(chart.series(1).count(), 3);
    EXPECT_EQ(chart.series(9 - 1).count(), chart.series(8).count());
    bool ok = false;
    const double shown = QLocale().toDouble(cell(1, 2), &ok);
    ASSERT_TRUE(ok) << cell(1, 2).toStdString();
    EXPECT_NEAR(chart.series(1).points().last().y(), shown, std::max(1e-3, std::abs(shown) * 1e-3));
    stop();
    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    enterTab();
    chart.redrawNow();
    EXPECT_EQ(chart.series(1).count(), 0) << "entering the tab resets the grid and the chart";
}
