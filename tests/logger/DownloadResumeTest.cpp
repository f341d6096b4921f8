#include "tests/logger/DownloadBench.h"
#include "tests/support/QStringPrinter.h"

#include "logger/FunctionsSubs.h"
#include "sim/HeaderWriter.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr int BreakLine = 700;

// Channels 1-3 and a monitor: five words a scan, so line 700 falls inside
// a scan.
RecordedTest longTest()
{
    return RecordedTest::ramp(3, 2, 1500);
}

// The rows between the data heading and the end of the data.
QStringList rows(const QStringList &csv)
{
    const qsizetype start = csv.indexOf(QRegularExpression("^Start of Downloaded Data,"));
    const qsizetype end = csv.indexOf(QRegularExpression("^End of Downloaded Data,"));
    return start < 0 || end < start ? QStringList() : csv.mid(start + 1, end - start - 1);
}

// The text of the last "Resume Download" box.
QString resumeBox(const ScriptedDialogs &dialogs)
{
    for (auto box = dialogs.shown().rbegin(); box != dialogs.shown().rend(); ++box) {
        if (box->title == "Resume Download")
            return box->text;
    }
    return {};
}

QStringList dataLines(const QStringList &raw)
{
    return raw.filter(QRegularExpression("^e[0-9A-F]{6}#"));
}

// The addresses of the data lines the program asked the logger for.
QList<qint64> addressesRead(const QString &wire)
{
    QList<qint64> read;
    static const QRegularExpression data("e([0-9A-F]{6})\\|");
    for (auto m = data.globalMatch(wire); m.hasNext();)
        read << fnHexToLong(m.next().captured(1));
    return read;
}

// A download broken by the cable pulled at line 700, the cable back and
// the logger read again, ready for the next download.
struct BrokenDownload
{
    explicit BrokenDownload(const std::function<void(DownloadBench &)> &whileUnplugged = {})
        : bench(longTest().image(), 5)
    {
        DataDownload::Hooks hooks = bench.connection.downloadHooks();
        hooks.fileOptions = [this] { return bench.options; };
        hooks.timeZoneHours = [] { return 0; };
        hooks.resumeMode = [] { return DataDownload::ResumeMode::Offer; };
        bench.downloader.setHooks(hooks);
        bench.chooseName("run");
        bench.atAddress([this](qint64 address) {
            if (address == BreakLine * 16 && !broken) {
                broken = true;
                bench.logger.unplug();
            }
        });
        bench.dialogs.allow("Premature download Termination");
        bench.download();
        bench.loop.advanceSeconds(10);
        EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Aborted);
        if (whileUnplugged)
            whileUnplugged(bench);
        bench.logger.plugIn();
        bench.loop.advanceSeconds(30);
        EXPECT_TRUE(bench.connection.header.headerValid);
        bench.port.forget();
    }

    DownloadBench bench;
    bool broken = false;
};

} // namespace

TEST(DownloadResume, ResumedDownloadGivesTheRowsOfAnUnbrokenOneReadingOnlyTheRest)
{
    DownloadBench whole(longTest().image(), 5);
    whole.chooseName("whole");
    whole.download();
    ASSERT_EQ(whole.downloader.ending(), DataDownload::Ending::Complete);

    BrokenDownload broken;
    DownloadBench &bench = broken.bench;
    ASSERT_EQ(dataLines(bench.lines("run_Aborted.RAW")).size(), BreakLine);
    bench.dialogs.expect("Resume Download", Dialogs::Yes);
    bench.chooseName("run2");
    bench.download();

    ASSERT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    EXPECT_EQ(resumeBox(bench.dialogs),
              "A download of this test ended early:\r\n" + bench.folder() + "/run_Aborted.RAW\r\n"
                  + QString::number(BreakLine * 16) + " of "
                  + QString::number(bench.connection.capture.values().active.pointer.value)
                  + " bytes were read.\r\n\r\nPress Yes to resume it, No to download everything again, "
                    "Cancel to stop.");
    EXPECT_EQ(rows(bench.lines("run2.CSV")), rows(whole.lines("whole.CSV")));
    EXPECT_EQ(dataLines(bench.lines("run2.RAW")), dataLines(whole.lines("whole.RAW")));
    // The last line taken from the file is checked against the logger, then
    // the logger is read from the break on.
    const QList<qint64> read = addressesRead(bench.port.writtenText());
    ASSERT_FALSE(read.isEmpty());
    EXPECT_EQ(read.first(), (BreakLine - 1) * 16);
    EXPECT_TRUE(read.contains(BreakLine * 16));
    EXPECT_TRUE(std::all_of(read.begin(), read.end(), [](qint64 a) { return a >= (BreakLine - 1) * 16; }));
    EXPECT_TRUE(bench.lines("run2.CSV").contains(
        "Resumed from file: " + bench.folder() + "/run_Aborted.RAW at address " + fnHex6(BreakLine * 16)
        + " (700 lines taken from it)."));
    // The broken download keeps its names beside the complete one.
    EXPECT_TRUE(bench.files().contains("run_Aborted.RAW"));
    EXPECT_TRUE(bench.files().contains("run_Aborted.CSV"));
}

TEST(DownloadResume, ReinitializedLoggerIsRefusedWithTheReasonAndDownloadsAfreshOnlyWhenTold)
{
    // The logger is initialized again while unplugged: a later initialization date.
    BrokenDownload broken([](DownloadBench &unplugged) {
        LoggerImage image = unplugged.logger.image();
        const QString line = HeaderWriter(image.header).textAt(0x0420);
        HeaderWriter(image.header).text(0x0420, QString::number(line.left(5).toInt() + 1) + line.mid(5));
        unplugged.logger.loadImage(image);
    });
    DownloadBench &bench = broken.bench;

    bench.dialogs.expect("Resume Download", Dialogs::Cancel);
    bench.download();
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::NotStarted);
    const QString text = resumeBox(bench.dialogs);
    EXPECT_TRUE(text.startsWith("The download that ended early in\r\n" + bench.folder()
                                + "/run_Aborted.RAW\r\ncannot be resumed: the logger was initialized again since"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("Press OK to download everything, Cancel to stop.")) << text.toStdString();

    bench.dialogs.expect("Resume Download", Dialogs::Ok);
    bench.chooseName("fresh");
    bench.download();
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    EXPECT_FALSE(bench.lines("fresh.CSV").join("\n").contains("Resumed from file"));
}

TEST(DownloadResume, TheFileIsStitchedOnlyToAMemorySeenToHoldItsLastLine)
{
    struct Case
    {
        const char *name;
        std::function<void(DownloadBench &)> whileUnplugged;
        std::function<void(DownloadBench &)> beforeDownload;
        QString why;
    };
    const QString last = fnHex6((BreakLine - 1) * 16);
    const std::vector<Case> cases = {
        {"a byte of the last line changed",
         [](DownloadBench &unplugged) {
             LoggerImage image = unplugged.logger.image();
             image.data[(BreakLine - 1) * 16 + 3] = char(image.data[(BreakLine - 1) * 16 + 3] ^ 0x01);
             unplugged.logger.loadImage(image);
         },
         {}, "the logger's memory at address " + last + " is not what the file holds."},
        {"the last line cannot be read", {},
         [](DownloadBench &plugged) { plugged.logger.faults().wrongChecksums(SimFaults::Forever); },
         "the logger's memory at address " + last + " could not be read to compare it with the file."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BrokenDownload broken(c.whileUnplugged);
        DownloadBench &bench = broken.bench;
        if (c.beforeDownload)
            c.beforeDownload(bench);
        bench.dialogs.expect("Resume Download", Dialogs::Cancel);
        bench.download();
        EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::NotStarted);
        EXPECT_TRUE(resumeBox(bench.dialogs).contains("cannot be resumed: " + c.why))
            << resumeBox(bench.dialogs).toStdString();
    }
}

TEST(DownloadResume, WithoutTheRawOptionAWorkingRawIsKeptOnlyWhileItCanServe)
{
    DownloadBench bench(RecordedTest::ramp(2, 0, 50).image());
    bench.options.raw = false;
    bench.chooseName("run");
    bench.download();
    EXPECT_EQ(bench.files(), QStringList{"run.CSV"});
}
