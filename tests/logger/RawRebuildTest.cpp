#include "tests/logger/DownloadBench.h"
#include "tests/support/QStringPrinter.h"

#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"
#include "logger/download/DownloadRebuild.h"
#include "logger/download/DownloadTableReader.h"
#include "logger/download/RawDownloadFile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Lines whose cells depend on the moment and place the file was written,
// not on the logger's data.
bool presentTimeLine(const QString &line)
{
    return line.startsWith("Header Downloaded:,") || line.startsWith("Download Time Zone:,")
        || line.startsWith("Saved complete as file: ");
}

QStringList withoutPresentTime(QStringList lines)
{
    lines.removeIf(presentTimeLine);
    return lines;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A download of channels 1-3 with channel 2 as monitor, clips included.
struct Downloaded
{
    Downloaded()
        : test(RecordedTest::ramp(3, 2, 300, 300))
        , bench((clip(test), test.image()), 5)
    {
        bench.chooseName("run");
        bench.download();
    }
    static void clip(RecordedTest &t)
    {
        t.scans[5].counts[0] = 0;
        t.scans[6].counts[2] = 4095;
    }
    QString path(const QString &name) const { return bench.folder() + u'/' + name; }

    RecordedTest test;
    DownloadBench bench;
};

} // namespace

TEST(RawRebuild, RawFileReadsBackHeaderLiveBlockEveryDataLineAndNotes)
{
    Downloaded d;
    const RawDownloadFile raw = RawDownloadFile::read(d.path("run.RAW"));
    ASSERT_TRUE(raw.refusal.isEmpty()) << raw.refusal.toStdString();
    EXPECT_TRUE(raw.dataProblem.isEmpty()) << raw.dataProblem.toStdString();
    EXPECT_EQ(raw.headerText, d.bench.connection.header.headerText);
    EXPECT_EQ(raw.statusByteText, d.bench.connection.statusByte.statusText());
    EXPECT_EQ(raw.live.active.pointer.value, d.bench.connection.capture.values().active.pointer.value);
    EXPECT_EQ(raw.live.preset.waits.value, 300u);
    EXPECT_EQ(raw.baseName, d.bench.folder() + "/run");
    const qint64 pointer = raw.live.active.pointer.value;
    EXPECT_EQ(raw.dataLines.size(), (pointer + 15) / 16);
    EXPECT_TRUE(raw.closed);
    EXPECT_EQ(raw.notes.last(), "End of Download Notes");

    const LoggerHeader header = DownloadRebuild::header(raw);
    EXPECT_EQ(header.serialNumber, d.bench.connection.header.serialNumber);
    EXPECT_EQ(header.startDate, d.bench.connection.header.startDate);
    EXPECT_EQ(header.channel[1].location, d.bench.connection.header.channel[1].location);
    EXPECT_EQ(header.channel[1].slope.text, d.bench.connection.header.channel[1].slope.text);
}

TEST(RawRebuild, RebuiltCsvEqualsTheDownloadsApartFromPresentTimeCells)
{
    Downloaded d;
    const RawDownloadFile raw = RawDownloadFile::read(d.path("run.RAW"));
    DownloadRebuild rebuild(raw, d.bench.dialogs);
    rebuild.setExtras(DownloadRebuild::extrasBeside(d.path("run.RAW")));
    // The monitor channel is found from the data: its maximum and minimum
    // hold channel 2's readings.
    EXPECT_EQ(rebuild.columns().monitorChannel, 2);
    QDir().mkpath(d.bench.folder() + "/again");
    const QString base = DownloadRebuild::freeBase(d.path("run.RAW"), d.bench.folder() + "/again");
    EXPECT_EQ(base, d.bench.folder() + "/again/run");
    const DownloadRebuild::Outcome outcome = rebuild.write(base);
    ASSERT_TRUE(outcome.written) << outcome.message.toStdString();

    const QStringList original = d.bench.lines("run.CSV");
    const QStringList rebuilt = d.bench.lines("again/run.CSV");
    const QStringList a = withoutPresentTime(rebuilt);
    const QStringList b = withoutPresentTime(original);
    for (qsizetype i = 0; i < std::min(a.size(), b.size()) && !HasFailure(); ++i)
        EXPECT_EQ(a[i].toStdString(), b[i].toStdString()) << "line " << i;
    EXPECT_EQ(a.size(), b.size());
    EXPECT_EQ(rebuilt.last(), "Saved complete as file: " + base + ".CSV");
    // Beside the original, the name in use is never overwritten.
    EXPECT_EQ(DownloadRebuild::freeBase(d.path("run.RAW"), QString()), d.bench.folder() + "/run-rebuilt");
}

TEST(RawRebuild, MetadataTextsThatAreNoLinesOfTextAreLeftOut)
{
    QTemporaryDir dir;
    QFile json(dir.filePath("run.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"format": "datalogger-download",
                  "capture": {"statusLine": "Low\u0000Batt", "csvEventLines": ["Header Downloaded:,x", "a\rb"]},
                  "timeZones": {"download": 100000}})");
    json.close();
    const DownloadRebuild::Extras damaged = DownloadRebuild::extrasBeside(dir.filePath("run.RAW"));
    EXPECT_FALSE(damaged.statusLine);
    EXPECT_FALSE(damaged.eventLines);
    EXPECT_FALSE(damaged.downloadZoneHours);

    ASSERT_TRUE(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(R"({"format": "datalogger-download",
                  "capture": {"statusLine": "_VBatLO --- ", "csvEventLines": ["Header Downloaded:,x", ""]},
                  "timeZones": {"download": -5}})");
    json.close();
    const DownloadRebuild::Extras plain = DownloadRebuild::extrasBeside(dir.filePath("run.RAW"));
    EXPECT_EQ(plain.statusLine.value_or("none"), "_VBatLO --- ");
    EXPECT_EQ(plain.eventLines.value_or("none"), "Header Downloaded:,x\r\n\r\n");
    EXPECT_EQ(plain.downloadZoneHours.value_or(0), -5);
}

TEST(RawRebuild, DamagedFilesAreRefusedOrReadUpToTheFault)
{
    Downloaded d;
    const QByteArray good = readAll(d.path("run.RAW"));
    const qsizetype firstData = good.indexOf("\r\ne000000#") + 2;
    const qsizetype tenth = good.indexOf("\r\ne0000A0#") + 2;
    ASSERT_GT(firstData, 2);
    QByteArray edited = good;
    edited[tenth + 12] = edited[tenth + 12] == '0' ? '1' : '0';
    QByteArray skipped = good;
    skipped.remove(tenth, 44);
    QStringEncoder utf16(QStringEncoder::Utf16);
    const QByteArray wide = utf16.encode(QString::fromUtf8(good));

    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString refusal;   // the start of it; empty when the file is read
        int dataLines;     // read before the fault
        QString problem;
    };
    const QList<Case> cases{
        {"edited data digit", edited, {}, 10, "line"},
        {"missing line", skipped, {}, 10, "address 0000B0 where 0000A0 was due"},
        {"cut inside a data line", good.left(tenth + 20), {}, 10, "not a data line"},
        {"cut after a data line", good.left(tenth + 44), {}, 11, ""},
        {"cut inside the header", good.left(200), "Line 8 is not a header line", 0, {}},
        {"UTF-16", wide, "This is not a download RAW file: it is not text in UTF-8.", 0, {}},
        {"binary", QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10), "This is not a download RAW file", 0, {}},
        {"empty", QByteArray(), "This is not a download RAW file", 0, {}},
        {"a CSV", readAll(d.path("run.CSV")), "This is not a download RAW file", 0, {}},
        {"header line edited", QByteArray(good).replace("c0200#", "c0200%"), "Line 1 is not a header line", 0, {}},
    };
    for (const Case &c : cases) {
        const RawDownloadFile raw = RawDownloadFile::parse(c.bytes);
        if (!c.refusal.isEmpty()) {
            EXPECT_TRUE(raw.refusal.startsWith(c.refusal)) << c.name << ": " << raw.refusal.toStdString();
            // Nothing read before the fault is kept for a caller to trust.
            EXPECT_TRUE(raw.dataLines.isEmpty() && raw.headerLines.isEmpty() && raw.headerText.isEmpty())
                << c.name;
            continue;
        }
        EXPECT_TRUE(raw.refusal.isEmpty()) << c.name << ": " << raw.refusal.toStdString();
        EXPECT_EQ(raw.dataLines.size(), c.dataLines) << c.name;
        EXPECT_TRUE(raw.dataProblem.contains(c.problem)) << c.name << ": " << raw.dataProblem.toStdString();
        // What was read rebuilds; the rows end where the trusted data ends.
        DownloadRebuild rebuild(raw, d.bench.dialogs);
        QDir().mkpath(d.bench.folder() + "/damaged");
        const DownloadRebuild::Outcome outcome =
            rebuild.write(DownloadRebuild::freeBase(d.path("run.RAW"), d.bench.folder() + "/damaged"));
        EXPECT_TRUE(outcome.written) << c.name;
        // Both rebuilt tables hold the same scans, a scan the cut left short
        // among them.
        const DownloadTableReader reader;
        const DownloadRead parts = reader.read(outcome.baseName + ".CSV");
        const DownloadRead tidy = reader.read(outcome.baseName + ".tidy.csv");
        EXPECT_EQ(parts.message.toStdString(), "") << c.name;
        EXPECT_EQ(parts.table.rowCount(), tidy.table.rowCount()) << c.name;
    }
}
