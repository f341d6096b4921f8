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

const QString Csv = QStringLiteral("run.CSV");
const QString AbortedCsv = QStringLiteral("run_Aborted.CSV");
const QString AbortedRaw = QStringLiteral("run_Aborted.RAW");

QStringList dataLines(const QStringList &raw)
{
    return raw.filter(QRegularExpression(QStringLiteral("^e[0-9A-F]{6}#")));
}

// Data memory of a test with one bad word (a tag no channel has).
LoggerImage withBadWord(const RecordedTest &test, int address)
{
    LoggerImage image = test.image();
    image.data[address] = char(0x90);
    return image;
}

} // namespace

TEST(DownloadEndings, StatusEventStandsBetweenTheRowsAndLaterRowsKeepNoTime)
{
    RecordedTest test = RecordedTest::ramp(3, 0, 100);
    test.scans[51].eventBefore = 0x02;
    DownloadBench bench(test.image(), 3);
    DataDownload::Hooks hooks = bench.connection.downloadHooks();
    hooks.fileOptions = [&bench] { return bench.options; };
    hooks.statusLine = [] { return QStringLiteral("_BattLo --- 2026 03 02 08:51:00"); };
    bench.downloader.setHooks(hooks);
    bench.chooseName("run");
    bench.download();

    const QStringList lines = bench.lines(Csv);
    const qsizetype event = lines.indexOf(",EVENT/ERROR:,_BattLo --- 2026 03 02 08:51:00");
    ASSERT_GT(event, 0);
    // The event came before stored scan 51, which is scan number 51 (one
    // wake-up scan numbered 0): the rows around it, and only rows up to the
    // event scan number, carry their times.
    const qsizetype before = lines.indexOf(QRegularExpression("50,.*"));
    const qsizetype after = lines.indexOf(QRegularExpression("51,.*"));
    ASSERT_GT(before, 0);
    EXPECT_LT(before, event);
    EXPECT_GT(after, event);
    const qint64 eventScan = bench.connection.capture.eventScanNumber();
    EXPECT_EQ(eventScan, 51);
    EXPECT_FALSE(CsvSheet::cells(lines[after]).at(1).isEmpty());
    EXPECT_TRUE(CsvSheet::cells(lines[after + 1]).at(1).isEmpty());
    // The formulas still refer to their own rows below the inserted lines.
    const CsvSheet sheet(lines);
    const int row = int(after) + 2;
    const int slope = sheet.findRow("Slope:", 6);
    EXPECT_EQ(sheet.cell(row, 7), QString("=C%1*G$%2+G$%3+G$%4").arg(row).arg(slope).arg(slope + 1).arg(slope - 1));
}

TEST(DownloadEndings, CancelRequestIsConfirmedAfterTheLine)
{
    DownloadBench bench(RecordedTest::ramp(2, 0, 400).image());
    bench.chooseName("run");
    bench.atAddress([&bench](qint64 address) {
        if (address == 160 || address == 320)
            bench.state.cancelDownload = true;
    });
    bench.dialogs.expect("Cancel Download Alert", Dialogs::No);
    bench.dialogs.expect("Cancel Download Alert", Dialogs::Yes);
    bench.dialogs.expect("Premature download Termination");
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Cancelled);
    EXPECT_EQ(bench.files(), (QStringList{AbortedCsv, AbortedRaw}));
    const ScriptedDialogs::Box &box = bench.dialogs.shown()[0];
    EXPECT_EQ(box.text, "Do you really want to cancel the download?\r\rPress Yes to cancel downloading.\r"
                        "Press No to continue downloading data.");
    EXPECT_EQ(box.defaultButton, Dialogs::DefaultButton2);
    const QStringList csv = bench.lines(AbortedCsv);
    EXPECT_TRUE(csv.contains("Download was canceled. This is only a partial data file."));
    EXPECT_TRUE(csv.contains(QString("336 of %1 scans completed.").arg(bench.connection.capture.values().active.pointer.value)));
    // The line the request came with was read and kept; none after it.
    EXPECT_EQ(dataLines(bench.lines(AbortedRaw)).size(), 21);
    // A partial download is not recorded in the logger.
    EXPECT_EQ(bench.textAt(0x0540), QString(16, 'x'));
}

TEST(DownloadEndings, SyncErrorRetryGoesOnWithTheNextWord)
{
    const RecordedTest test = RecordedTest::ramp(3, 0, 200);
    DownloadBench bench(withBadWord(test, 160));
    bench.chooseName("run");
    bench.dialogs.expect("SubReadData Channel Sync Error", Dialogs::Retry);
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    const ScriptedDialogs::Box &box = bench.dialogs.shown()[0];
    EXPECT_TRUE(box.text.startsWith("Channel Sync, memory read/write error\r\nin scan 160 of 1206 Scans.\r\n"
                                    "Memory image line: "))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(" CANCEL stops Download or ...  RETRY resumes execution with next statement."));
    EXPECT_EQ(box.defaultButton, Dialogs::DefaultButton2);
    EXPECT_TRUE(bench.lines(Csv).contains(", Channel Sync/data memory R/W ERROR in scan 160 of 1206 Scans."));
    EXPECT_NE(bench.textAt(0x0540), QString(16, 'x'));
}

TEST(DownloadEndings, SyncErrorCancelEndsAtOnceWithoutNotes)
{
    const RecordedTest test = RecordedTest::ramp(3, 0, 200);
    DownloadBench bench(withBadWord(test, 160));
    bench.chooseName("run");
    bench.dialogs.expect("SubReadData Channel Sync Error", Dialogs::Cancel);
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::SyncCancelled);
    EXPECT_EQ(bench.files(), (QStringList{AbortedCsv, AbortedRaw}));
    const QStringList csv = bench.lines(AbortedCsv);
    // The row in hand and the error line are the last lines written.
    EXPECT_TRUE(csv.contains(", Channel Sync/data memory R/W ERROR in scan 160 of 1206 Scans."));
    EXPECT_EQ(csv.filter("Channel Sync").size(), 1);
    EXPECT_FALSE(csv.contains("Start of Download Notes"));
    EXPECT_EQ(dataLines(bench.lines(AbortedRaw)).size(), 11);
    EXPECT_EQ(bench.textAt(0x0540), QString(16, 'x'));
}

// The cable pulled before line 500 is read: the files keep lines 1-499 and
// say the download ended early.
TEST(DownloadEndings, UnpluggedLoggerLeavesEveryLineReadInTheAbortedFiles)
{
    DownloadBench bench(RecordedTest::ramp(4, 0, 1100).image());
    bench.chooseName("run");
    bench.atAddress([&bench](qint64 address) {
        if (address == 499 * 16)
            bench.simPort.setAdapterPresent(false);
    });
    bench.dialogs.expect("Premature download Termination");
    bench.download();
    bench.loop.advanceSeconds(10);

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Aborted);
    EXPECT_EQ(bench.files(), (QStringList{AbortedCsv, AbortedRaw}));
    const QStringList data = dataLines(bench.lines(AbortedRaw));
    ASSERT_EQ(data.size(), 499);
    EXPECT_TRUE(data.last().startsWith("e" + fnHex6(498 * 16)));
    const QStringList csv = bench.lines(AbortedCsv);
    EXPECT_TRUE(csv.contains("      PREMATURE TERMINATION OF DATA DOWNLOAD"));
    const quint32 end = bench.connection.capture.values().active.pointer.value;
    EXPECT_EQ(end, 1101u * 4 * 2);
    EXPECT_TRUE(csv.contains(QString("at %1 out of %2").arg(499 * 16).arg(end - 16)));
    // 4 words a scan, 8 a line: 998 whole scans were read.
    EXPECT_TRUE(csv.filter(QRegularExpression("^997,")).size() == 1);
    EXPECT_TRUE(csv.filter(QRegularExpression("^998,")).isEmpty());
    EXPECT_EQ(bench.dialogs.shown().back().text.split("\r\n")[1],
              "      PREMATURE TERMINATION OF DATA DOWNLOAD");
}

TEST(DownloadEndings, ALineThatNeverReadsRightEndsTheDownloadThere)
{
    DownloadBench bench(RecordedTest::ramp(4, 0, 2100).image());
    bench.chooseName("run");
    bench.atAddress([&bench](qint64 address) {
        if (address == 999 * 16)
            bench.logger.faults().wrongChecksums(1000);
    });
    bench.dialogs.allow("Premature download Termination");
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Aborted);
    EXPECT_EQ(dataLines(bench.lines(AbortedRaw)).size(), 999);
}

TEST(DownloadEndings, PointerZeroEndsBeforeAnyFile)
{
    RecordedTest test = RecordedTest::ramp(2, 0, 0);
    test.scans.clear();
    DownloadBench bench(test.image());
    bench.dialogs.expect("");
    bench.download();

    EXPECT_EQ(bench.dialogs.shown()[0].text, "No Data to Download.  Pointer is 0");
    EXPECT_TRUE(bench.dialogs.fileDialogs().empty());
    EXPECT_TRUE(bench.files().isEmpty());
}
