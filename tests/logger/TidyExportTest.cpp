// The tidy file, its events table and the metadata written beside a download.
#include "tests/logger/CsvSheet.h"
#include "tests/logger/DownloadBench.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/QStringPrinter.h"

#include "logger/download/FixedOffsetTime.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <ctime>
#include <sys/resource.h>
#include <gtest/gtest.h>

namespace {

const QString Tidy = QStringLiteral("run.tidy.csv");
const QString Events = QStringLiteral("run.events.csv");
const QString Json = QStringLiteral("run.json");

// The program's default locale for the life of the object.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

// Three channels, channel 2 the monitor, a scan every 15 minutes from 00:31
// on the night the clocks of London go forward at 01:00; readings clipped at
// either end in between.
RecordedTest springForwardTest()
{
    RecordedTest test = RecordedTest::ramp(3, 2, 12);
    test.periodSeconds = 15 * 60;
    test.initTime = QDateTime(QDate(2026, 3, 29), QTime(0, 30));
    test.calibration[0].location = "P,\"1";
    test.calibration[2].slope = 0.0123f;
    test.calibration[2].offset = 3.5f;
    test.scans[3].counts[0] = 0;
    test.scans[4].counts[2] = 4095;
    test.scans[5].monitor = std::pair(4095, 0);
    return test;
}

// A tidy download of that test made with the PC in London and a German
// default locale.
struct SpringForwardDownload
{
    SpringForwardDownload()
    {
        bench.options.tidy = true;
        bench.chooseName("run");
        bench.download();
    }

    ScopedTimeZone london{"Europe/London"};
    DefaultLocale german{QLocale(QLocale::German)};
    RecordedTest test = springForwardTest();
    DownloadBench bench{test.image()};
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject jsonFile(const QString &path)
{
    return QJsonDocument::fromJson(fileBytes(path)).object();
}

// Slope and offset of each active column from the texts of the CSV's own
// "Slope:" and "Offset:" rows.
QList<std::pair<double, double>> calibrationOf(const CsvSheet &sheet, int columns)
{
    const int label = columns + 3;
    const int slopeRow = sheet.findRow("Slope:", label);
    QList<std::pair<double, double>> cal;
    for (int k = 0; k < columns; ++k) {
        bool slopeOk = false;
        bool offsetOk = false;
        cal << std::pair(sheet.cell(slopeRow, label + 1 + k).toDouble(&slopeOk),
                         sheet.cell(slopeRow + 1, label + 1 + k).toDouble(&offsetOk));
        EXPECT_TRUE(slopeOk && offsetOk) << "column " << k;
    }
    return cal;
}

} // namespace

// Every cell of the tidy file against the recorded scans and the CSV's
// calibration texts, with the PC in London across the change to summer time
// and a German default locale.
TEST(TidyExport, EveryCellIsTheCalibratedCountAndTimesStepEvenlyAcrossDaylightSaving)
{
    SpringForwardDownload d;
    const RecordedTest &test = d.test;
    DownloadBench &bench = d.bench;
    ASSERT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);

    const QStringList tidy = bench.lines(Tidy);
    ASSERT_EQ(tidy.size(), test.scans.size() + 1);
    EXPECT_EQ(tidy[0], "scan,time,ch1 count,\"ch1 P,\"\"1 (psi)\",ch1 clip,ch2 count,ch2 L2 (psi),ch2 clip,"
                       "ch3 count,ch3 L3 (psi),ch3 clip,ch2 max count,ch2 max L2 (psi),ch2 max clip,"
                       "ch2 min count,ch2 min L2 (psi),ch2 min clip");
    const int n = 5;
    const CsvSheet sheet(bench.lines("run.CSV"));
    const QList<std::pair<double, double>> cal = calibrationOf(sheet, n);
    ASSERT_EQ(cal.size(), n);
    QDateTime previous;
    for (int s = 0; s < test.scans.size(); ++s) {
        const QStringList cells = CsvSheet::cells(tidy[s + 1]);
        ASSERT_EQ(cells.size(), 2 + 3 * n) << tidy[s + 1].toStdString();
        EXPECT_EQ(cells[0], QString::number(s - test.wakeUps() + 1));
        const QDateTime time = QDateTime::fromString(cells[1], Qt::ISODate);
        ASSERT_TRUE(time.isValid()) << cells[1].toStdString();
        EXPECT_TRUE(cells[1].endsWith("+00:00")) << cells[1].toStdString();
        if (s > 1)
            EXPECT_EQ(previous.secsTo(time), test.periodSeconds) << cells[1].toStdString();
        previous = time;
        QList<int> counts = test.scans[s].counts;
        counts << test.scans[s].monitor->first << test.scans[s].monitor->second;
        for (int k = 0; k < n; ++k) {
            const QString value = cells[3 + 3 * k];
            const QString clip = cells[4 + 3 * k];
            EXPECT_EQ(cells[2 + 3 * k], QString::number(counts[k]));
            if (counts[k] == 0 || counts[k] >= 4095) {
                EXPECT_EQ(value, "") << "scan " << s << " column " << k;
                EXPECT_EQ(clip, counts[k] == 0 ? "low" : "high") << "scan " << s << " column " << k;
                continue;
            }
            EXPECT_EQ(value, QString::number(counts[k] * cal[k].first + cal[k].second, 'g', 10))
                << "scan " << s << " column " << k;
            EXPECT_FALSE(value.contains(u',')) << value.toStdString();
            EXPECT_EQ(clip, "");
        }
    }
    EXPECT_TRUE(tidy.join("").contains('.')) << "fractional values are written with a point";
    // The wake-up scan at the initialization, the start a minute later, and
    // the scan after the clocks went forward, at the logger's own offset; the
    // CSV keeps the PC's local reading.
    EXPECT_TRUE(tidy[1].startsWith("0,2026-03-29T00:30:00+00:00,"));
    EXPECT_TRUE(tidy[2].startsWith("1,2026-03-29T00:31:00+00:00,"));
    EXPECT_TRUE(tidy[4].startsWith("3,2026-03-29T01:01:00+00:00,"));
    const int row = sheet.findRow("3", 1);
    ASSERT_GT(row, 0);
    EXPECT_EQ(sheet.cell(row, 2), "2026-03-29 02:01:00");
    EXPECT_EQ(bench.lines(Events), QStringList{"after_scan,time,kind,text"});
}

TEST(TidyExport, ZoneTextGivesTheFixedOffset)
{
    const QDateTime start(QDate(2026, 3, 29), QTime(1, 30));
    const struct
    {
        const char *zone;
        const char *expected;
    } cases[] = {
        {"-01", "2026-03-29T01:30:00+01:00"}, {"+05", "2026-03-29T01:30:00-05:00"},
        {"+00", "2026-03-29T01:30:00+00:00"}, {"-10", "2026-03-29T01:30:00+10:00"},
        {"??", "2026-03-29T01:30:00"},        {"", "2026-03-29T01:30:00"},
    };
    for (const auto &c : cases) {
        const FixedOffsetTime clock(QString::fromLatin1(c.zone), start);
        EXPECT_EQ(clock.scanText(start), QString::fromLatin1(c.expected)) << c.zone;
        EXPECT_EQ(clock.readingText(start), QString::fromLatin1(c.expected)) << c.zone;
    }
}

// Status events and memory errors go to the events table, never among the
// rows; the rows after an event that the CSV leaves without time have none.
TEST(TidyExport, EventsGoToTheirOwnTable)
{
    RecordedTest test = RecordedTest::ramp(3, 0, 100);
    test.scans[51].eventBefore = 0x02;
    LoggerImage image = test.image();
    image.data[160] = char(0x90);
    DownloadBench bench(image, 3);
    bench.options.tidy = true;
    DataDownload::Hooks hooks = bench.connection.downloadHooks();
    hooks.fileOptions = [&bench] { return bench.options; };
    hooks.timeZoneHours = [] { return 0; };
    hooks.statusLine = [] { return QStringLiteral("_BattLo --- 2026 03 02 08:51:00"); };
    bench.downloader.setHooks(hooks);
    bench.dialogs.expect("SubReadData Channel Sync Error", Dialogs::Retry);
    bench.chooseName("run");
    bench.download();

    const QStringList events = bench.lines(Events);
    ASSERT_EQ(events.size(), 3) << events.join('\n').toStdString();
    // 80 words before the bad one: the wake-up scan, scans 1-25 and two
    // words of scan 26, taken 25 periods after the start.
    const quint32 end = bench.connection.capture.values().active.pointer.value;
    EXPECT_EQ(events[1], QString("26,2026-03-02T08:26:00+00:00,sync_error,Channel Sync/data memory R/W ERROR in "
                                 "scan 160 of %1 Scans.").arg(end));
    EXPECT_EQ(events[2], "50,2026-03-02T08:50:00+00:00,status,_BattLo --- 2026 03 02 08:51:00");
    const QStringList tidy = bench.lines(Tidy);
    EXPECT_EQ(tidy.filter("BattLo").size(), 0);
    EXPECT_TRUE(tidy[52].startsWith("51,2026-03-02T08:51:00+00:00,")) << tidy[52].toStdString();
    // Scan 26 lost its third reading to the bad word.
    EXPECT_TRUE(tidy[27].startsWith("26,2026-03-02T08:26:00+00:00,")) << tidy[27].toStdString();
    EXPECT_TRUE(tidy[27].endsWith(",,,")) << tidy[27].toStdString();
    EXPECT_TRUE(tidy[53].startsWith("52,,")) << tidy[53].toStdString();
    EXPECT_EQ(tidy.size(), test.scans.size() + 1);
}

// The metadata names every other file of the download as it ended, with
// the size and SHA-256 of what is on disk.
TEST(TidyExport, MetadataHashesTheFilesUnderTheNamesTheEndingGave)
{
    struct Case
    {
        const char *outcome;
        const char *suffix;
    };
    for (const Case c : {Case{"complete", ""}, Case{"aborted", "_Aborted"}, Case{"cancelled", "_Aborted"}}) {
        const QString outcome = QString::fromLatin1(c.outcome);
        DownloadBench bench(RecordedTest::ramp(2, 0, 300).image());
        bench.options.tidy = true;
        bench.chooseName("run");
        bench.atAddress([&bench, &outcome](qint64 address) {
            if (address == 160 && outcome == "aborted")
                bench.simPort.setAdapterPresent(false);
            if (address == 160 && outcome == "cancelled")
                bench.state.cancelDownload = true;
        });
        if (outcome == "cancelled")
            bench.dialogs.expect("Cancel Download Alert", Dialogs::Yes);
        if (outcome != "complete")
            bench.dialogs.expect("Premature download Termination");
        bench.download();
        bench.loop.advanceSeconds(10);

        const QString base = "run" + QString::fromLatin1(c.suffix);
        const QStringList names{base + ".CSV", base + ".RAW", base + ".tidy.csv", base + ".events.csv"};
        QStringList expectedFiles = names;
        expectedFiles << base + ".json";
        expectedFiles.sort();
        EXPECT_EQ(bench.files(), expectedFiles) << c.outcome;
        const QJsonObject json = jsonFile(bench.folder() + "/" + base + ".json");
        EXPECT_EQ(json["format"].toString(), "datalogger-download");
        EXPECT_EQ(json["formatVersion"].toInt(), 1);
        const QJsonObject download = json["download"].toObject();
        EXPECT_EQ(download["outcome"].toString(), outcome);
        EXPECT_TRUE(download["resumedFrom"].isNull());
        EXPECT_EQ(download["scans"].toInteger(), bench.lines(base + ".tidy.csv").size() - 1) << c.outcome;
        const QJsonArray files = json["files"].toArray();
        ASSERT_EQ(files.size(), names.size()) << c.outcome;
        for (int i = 0; i < files.size(); ++i) {
            const QJsonObject file = files[i].toObject();
            EXPECT_EQ(file["name"].toString(), names[i]);
            const QByteArray bytes = fileBytes(bench.folder() + "/" + names[i]);
            EXPECT_FALSE(bytes.isEmpty());
            EXPECT_EQ(file["bytes"].toInteger(), bytes.size()) << names[i].toStdString();
            EXPECT_EQ(file["sha256"].toString(),
                      QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()))
                << names[i].toStdString();
        }
    }
}

TEST(TidyExport, MetadataDescribesTheLoggerTestAndCalibration)
{
    DownloadBench bench(RecordedTest::ramp(2, 1, 30).image());
    bench.options.tidy = true;
    bench.chooseName("run");
    bench.download();

    const QJsonObject json = jsonFile(bench.folder() + "/" + Json);
    const QJsonObject logger = json["logger"].toObject();
    EXPECT_EQ(logger["serialNumber"].toString(), "BENCH001");
    EXPECT_EQ(logger["model"].toString(), "ZL-8MC");
    EXPECT_EQ(logger["firmwareVersion"].toString(), "Z540");
    const QJsonObject test = json["test"].toObject();
    EXPECT_EQ(test["initializedBy"].toString(), "BENCH");
    EXPECT_EQ(test["startDate"].toString(), "2026-03-02T08:01:00+00:00");
    EXPECT_EQ(test["scanPeriodSeconds"].toInt(), 60);
    EXPECT_EQ(test["monitorChannel"].toInt(), 1);
    EXPECT_EQ(test["columns"].toArray(), QJsonArray({0, 1, 8, 9}));
    EXPECT_EQ(test["channelConfig"].toString().size(), 32);
    const QJsonArray channels = json["channels"].toArray();
    ASSERT_EQ(channels.size(), 4);
    const QJsonObject max = channels[2].toObject();
    EXPECT_EQ(max["tag"].toString(), "ch1 max");
    EXPECT_EQ(max["channel"].toInt(), 1);
    EXPECT_EQ(max["location"].toString(), "L1");
    EXPECT_EQ(max["units"].toString(), "psi");
    const CsvSheet sheet(bench.lines("run.CSV"));
    const int slopeRow = sheet.findRow("Slope:", 7);
    EXPECT_EQ(max["slope"].toString(), sheet.cell(slopeRow, 10));
    EXPECT_EQ(max["offset"].toString(), sheet.cell(slopeRow + 1, 10));
    const QJsonObject zones = json["timeZones"].toObject();
    EXPECT_EQ(zones["initialization"].toString(), "+00");
    EXPECT_EQ(zones["utcOffset"].toString(), "+00:00");
    EXPECT_EQ(zones["download"].toInt(), 0);
    EXPECT_TRUE(json["capture"].toObject()["eventLines"].toArray().contains("Pic Header Info               "));
}

// With the option off, the download makes the files it always made, and
// those are the same whether the tidy files are written beside them or not.
TEST(TidyExport, OptionOffWritesNoExtraFilesAndTheCsvAndRawAreTheSameEitherWay)
{
    const RecordedTest test = RecordedTest::ramp(3, 2, 150);
    QList<QStringList> csv;
    QList<QStringList> raw;
    for (const bool tidy : {true, false}) {
        DownloadBench bench(test.image());
        bench.options.tidy = tidy;
        bench.chooseName("run");
        bench.download();
        const QStringList expected = tidy ? QStringList{"run.CSV", "run.RAW", Events, Json, Tidy}
                                          : QStringList{"run.CSV", "run.RAW"};
        EXPECT_EQ(bench.files(), expected);
        csv << bench.lines("run.CSV").replaceInStrings(bench.folder(), "FOLDER");
        raw << bench.lines("run.RAW").replaceInStrings(bench.folder(), "FOLDER");
    }
    EXPECT_EQ(csv[0], csv[1]);
    EXPECT_EQ(raw[0], raw[1]);
}

// A tidy file that cannot grow (a full disk) is told as the download files
// are, stops there under its working name, and costs the download nothing:
// the RAW file is whole and takes its final name.
TEST(TidyExport, WriteErrorStopsTheTidyFilesButNotTheDownload)
{
    const RecordedTest test = RecordedTest::ramp(4, 1, 600);
    DownloadBench bench(test.image());
    bench.options.tidy = true;
    bench.options.csv = false;
    bench.chooseName("run");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    bool limited = false;
    bool restored = false;
    // Once the tidy file is well past the RAW file, the disk fills just
    // above it; after the box the disk has room again.
    bench.atAddress([&](qint64) {
        const qint64 tidy = QFileInfo(bench.folder() + "/run_Aborted.tidy.csv").size();
        const qint64 raw = QFileInfo(bench.folder() + "/run_Aborted.RAW").size();
        if (!limited && tidy > raw + 1000) {
            limited = true;
            rlimit small{rlim_t(tidy + 100), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (limited && !restored && !bench.dialogs.shown().empty()) {
            restored = true;
            setrlimit(RLIMIT_FSIZE, &saved);
        }
    });
    bench.dialogs.expect("Download File Error");
    bench.download();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_TRUE(limited && restored);
    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    EXPECT_TRUE(bench.dialogs.shown()[0].text.contains("run_Aborted.tidy.csv")) << bench.dialogs.shown()[0].text.toStdString();
    EXPECT_EQ(bench.files(), (QStringList{"run.RAW", Json, "run_Aborted.events.csv", "run_Aborted.tidy.csv"}));
    const QStringList data = bench.lines("run.RAW").filter(QRegularExpression("^e[0-9A-F]{6}#"));
    EXPECT_EQ(data.size(), (601 * 6 + 7) / 8);
    const QJsonObject json = jsonFile(bench.folder() + "/" + Json);
    EXPECT_EQ(json["download"].toObject()["outcome"].toString(), "complete");
    EXPECT_EQ(json["files"].toArray().size(), 3);
}

// Python's csv module, with no options, reads the file into the types it
// promises.
TEST(TidyExport, PythonCsvReadsTheTidyFile)
{
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    SpringForwardDownload d;
    const RecordedTest &test = d.test;
    DownloadBench &bench = d.bench;

    const char *script = R"(
import csv, datetime, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f))
head = rows[0]
assert head[:2] == ['scan', 'time'], head
assert head[2:5] == ['ch1 count', 'ch1 P,"1 (psi)', 'ch1 clip'], head
n = (len(head) - 2) // 3
assert len(head) == 2 + 3 * n
for i in range(n):
    assert head[2 + 3 * i].endswith(' count') and head[4 + 3 * i].endswith(' clip'), head
for row in rows[1:]:
    assert len(row) == len(head), row
    int(row[0])
    assert datetime.datetime.fromisoformat(row[1]).utcoffset() == datetime.timedelta(0), row
    for i in range(n):
        count, value, clip = row[2 + 3 * i:5 + 3 * i]
        int(count)
        if value:
            float(value)
        assert clip in ('', 'low', 'high'), row
        assert (value == '') == (clip != ''), row
print(len(rows) - 1)
)";
    QProcess process;
    process.start(python, {"-c", QString::fromUtf8(script), bench.folder() + "/" + Tidy});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
              QString::number(test.scans.size()));
}
