#include "tests/logger/CsvSheet.h"
#include "tests/logger/DownloadBench.h"
#include "tests/support/QStringPrinter.h"

#include "logger/FunctionsSubs.h"

#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Channel 2 measures the battery: 0.01 V a count from -5 V, so with no
// limit set on the factory page the threshold is 500 counts.
RecordedTest batteryTest(int lowScan)
{
    RecordedTest test = RecordedTest::ramp(2, 0, 60);
    test.calibration[1].engUnits = "Vbat";
    test.calibration[1].slope = 0.01f;
    test.calibration[1].offset = -5.0f;
    for (int s = 0; s < test.scans.size(); ++s)
        test.scans[s].counts[1] = s >= lowScan ? 499 : 900;
    return test;
}

} // namespace

TEST(DownloadFiles, ProposedNameCountsFrom002AndNoFileIsEverOverwritten)
{
    DownloadBench bench(RecordedTest::ramp(1, 0, 10).image());
    const QString proposed = "BENCH001-" + bench.loop.now().toString("yyyyMMdd-hhmmss") + " ";
    touch(bench.folder() + "/" + proposed + ".CSV");
    touch(bench.folder() + "/taken_Aborted.RAW");
    bench.chooseName("taken.CSV");
    bench.chooseName("fresh.csv");
    bench.dialogs.expect("");
    bench.download();

    ASSERT_EQ(bench.dialogs.fileDialogs().size(), 2u);
    const ScriptedDialogs::FileDialog &dialog = bench.dialogs.fileDialogs()[0];
    EXPECT_EQ(dialog.folder, bench.folder() + "/" + proposed + "002");
    EXPECT_EQ(dialog.filter, "All Files (*.*)");
    EXPECT_EQ(bench.dialogs.shown()[0].text, "File already exists--Overwrite not allowed.");
    EXPECT_TRUE(bench.files().contains("fresh.CSV"));
    EXPECT_TRUE(bench.files().contains(proposed + ".CSV"));
}

TEST(DownloadFiles, ADotInTheFolderDoesNotCutTheName)
{
    DownloadBench bench(RecordedTest::ramp(1, 0, 10).image());
    QDir().mkpath(bench.folder() + "/field.data");
    bench.chooseName("field.data/pump7.txt");
    bench.download();
    EXPECT_TRUE(QFile::exists(bench.folder() + "/field.data/pump7.CSV"));
}

TEST(DownloadFiles, CancellingTheFileDialogEndsWithoutFiles)
{
    DownloadBench bench(RecordedTest::ramp(1, 0, 10).image());
    bench.dialogs.expectFileName("");
    bench.download();
    EXPECT_TRUE(bench.files().isEmpty());
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::NotStarted);
    EXPECT_FALSE(bench.port.writtenText().contains("e000000"));
}

TEST(DownloadFiles, WithBothFilesOffTheDownloadStillRunsAndIsRecorded)
{
    DownloadBench bench(RecordedTest::ramp(2, 0, 50).image());
    bench.options.csv = false;
    bench.options.raw = false;
    bench.chooseName("run");
    bench.download();
    EXPECT_TRUE(bench.files().isEmpty());
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    EXPECT_TRUE(bench.port.writtenText().contains("e0000C0"));
    EXPECT_EQ(bench.textAt(0x0550), "run.CSV         ");
}

TEST(DownloadFiles, LowBatteryIsToldOnceAndNotInTheLastLine)
{
    struct Case { int lowScan; bool told; };
    for (const Case c : {Case{30, true}, Case{60, false}}) {
        DownloadBench bench(batteryTest(c.lowScan).image());
        bench.chooseName("run");
        if (c.told)
            bench.dialogs.expect("Low Battery Detected");
        bench.download();
        const QStringList csv = bench.lines("run.CSV");
        EXPECT_EQ(csv.contains("WARNING: Low Battery occured during test."), c.told) << c.lowScan;
        if (c.told)
            EXPECT_EQ(bench.dialogs.shown()[0].text, "Low battery condition detected -- Check Data at Scan #29");
    }
}

TEST(DownloadFiles, ZeroBatterySlopeBecomesOneWithAMessage)
{
    RecordedTest test = batteryTest(100);
    test.calibration[1].slope = 0.0f;
    DownloadBench bench(test.image());
    bench.chooseName("run");
    bench.dialogs.expect("subReadData - Battery voltage gain equals zero. itVBatChan =1");
    bench.download();
    EXPECT_EQ(bench.dialogs.shown()[0].text,
              "Battery voltage Calibration data is such that the gain equals zero.\r\n"
              "This will cause a divide by zero error so the gain has been set to one.");
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
}

TEST(DownloadFiles, PointerPastTheTopOfMemoryAsksAndReadsToTheTop)
{
    for (const int answer : {Dialogs::Yes, Dialogs::No}) {
        DownloadBench bench(RecordedTest::ramp(2, 0, 50).image());
        DataDownload::Hooks hooks = bench.connection.downloadHooks();
        hooks.fileOptions = [&bench] { return bench.options; };
        hooks.installedMemory = [] { return 96u; };
        bench.downloader.setHooks(hooks);
        bench.chooseName("run");
        bench.dialogs.expect("subReadData memory error warning", answer);
        if (answer == Dialogs::No) {
            bench.dialogs.expect("Cancel Download Alert", Dialogs::Yes);
            bench.dialogs.expect("Premature download Termination");
        }
        bench.download();
        EXPECT_EQ(bench.dialogs.shown()[0].text,
                  "A Top of Memory pointer error has been detected.\r204 vs 96\r"
                  "Press YES to continue downloading data to the end of memory.\rPress NO to cancel downloading.");
        // Nothing is written at the top of memory.
        EXPECT_FALSE(bench.port.writtenText().contains("f000060"));
        EXPECT_TRUE(bench.port.writtenText().contains(answer == Dialogs::Yes ? "e000050" : "e000000"));
        EXPECT_FALSE(bench.port.writtenText().contains("e000060"));
    }
}

TEST(DownloadFiles, LoggingTestIsStoppedOnlyWhenTheOperatorSaysSoTwice)
{
    struct Case { int stop; int really; bool downloads; };
    for (const Case c : {Case{Dialogs::Cancel, 0, false}, Case{Dialogs::Ok, Dialogs::No, false},
                         Case{Dialogs::Ok, Dialogs::Yes, true}}) {
        RecordedTest test = RecordedTest::ramp(2, 0, 30);
        test.finished = false;
        DownloadBench bench(test.image());
        ASSERT_TRUE(bench.connection.statusByte.loggingActive());
        bench.dialogs.expect("subReadData: Stop Logging?", c.stop);
        if (c.really)
            bench.dialogs.expect("SubReadData: Stop for downloading?", c.really);
        if (c.downloads)
            bench.chooseName("run");
        bench.download();
        EXPECT_EQ(bench.logger.image().statusByte & 0x10, c.downloads ? 0 : 0x10);
        EXPECT_EQ(bench.files().isEmpty(), !c.downloads);
        if (c.really) {
            const ScriptedDialogs::Box &box = bench.dialogs.shown()[1];
            EXPECT_EQ(box.text, "Do you really want to stop the logger to download?");
            EXPECT_EQ(box.defaultButton, Dialogs::DefaultButton2);
            EXPECT_EQ(bench.dialogs.beeps(), 1);
        }
    }
}

// A file that cannot grow (a full disk) ends the download with a box that
// names it; what was written stays under the working name.
TEST(DownloadFiles, WriteErrorKeepsTheWorkingFilesAndRecordsNothing)
{
    DownloadBench bench(RecordedTest::ramp(2, 0, 400).image());
    bench.chooseName("run");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    bench.atAddress([](qint64 address) {
        if (address == 320) {
            rlimit small{9000, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &small);
        }
    });
    bench.dialogs.expect("Download File Error");
    bench.download();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::WriteFailed);
    EXPECT_TRUE(bench.dialogs.shown()[0].text.contains("run_Aborted."));
    EXPECT_EQ(bench.files(), (QStringList{"run_Aborted.CSV", "run_Aborted.RAW"}));
    EXPECT_EQ(bench.textAt(0x0540), QString(16, 'x'));
}

TEST(DownloadFiles, MemoryFullOfJunkEndsCleanly)
{
    struct Case { const char *name; char fill; qint16 channels; };
    for (const Case c : {Case{"erased", char(0xFF), 2}, Case{"zeros", 0, 2}, Case{"invalid tags", char(0x99), 2},
                         Case{"channel count junk", 0x11, 15}}) {
        RecordedTest test = RecordedTest::ramp(2, 0, 40);
        LoggerImage image = test.image();
        std::fill(image.data.begin(), image.data.begin() + 41 * 4, c.fill);
        // The header's active channel count, a hexadecimal digit in 0440.
        image.header[0x0440 + 12] = fnHex1(c.channels).at(0).toLatin1();
        DownloadBench bench(image);
        bench.chooseName("run");
        bench.dialogs.allow("SubReadData Channel Sync Error", Dialogs::Retry);
        bench.download();
        EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete) << c.name;
        EXPECT_EQ(CsvSheet(bench.lines("run.CSV")).findRow("End of Downloaded Data") > 0, true) << c.name;
    }
}

// The data folder removed while the download writes into it: the files went
// with it, so the download must not end as complete (nor be recorded in the
// logger as saved).
TEST(DownloadFiles, FolderRemovedDuringTheDownloadIsAWriteFailureNotAComplete)
{
    DownloadBench bench(RecordedTest::ramp(2, 0, 200).image());
    bench.chooseName("run");
    bench.atAddress([&bench](qint64 address) {
        if (address == 320)
            QDir(bench.folder()).removeRecursively();
    });
    bench.dialogs.expect("Download File Error");
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::WriteFailed);
    EXPECT_TRUE(bench.dialogs.shown()[0].text.contains("run_Aborted.CSV"));
    EXPECT_EQ(bench.textAt(0x0540), QString(16, 'x'));
}
