#include "tests/logger/DownloadBench.h"
#include "tests/support/QStringPrinter.h"

#include "logger/download/DownloadTableReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <limits>
#include <gtest/gtest.h>

namespace {

// Three channels with channel 2 as monitor, clips on either side and a
// status event before the eleventh scan.
RecordedTest eventfulTest()
{
    RecordedTest test = RecordedTest::ramp(3, 2, 40);
    test.scans[5].counts[0] = 0;
    test.scans[6].counts[2] = 4095;
    test.scans[10].eventBefore = 0x01;
    return test;
}

struct Downloaded
{
    RecordedTest test = eventfulTest();
    DownloadBench bench{test.image()};
    QStringList lines;
    // The 1-based line number of the first data row.
    int firstDataLine = 0;

    Downloaded()
    {
        bench.chooseName("run");
        bench.download();
        lines = bench.lines("run.CSV");
        firstDataLine = int(lines.indexOf(QRegularExpression("Start of Downloaded Data,.*"))) + 2;
    }
    // The line of the row of scan index s (events counted).
    int lineOfRow(int s) const
    {
        int line = firstDataLine;
        for (int seen = -1; line <= lines.size(); ++line)
            if (!lines[line - 1].startsWith(",") && ++seen == s)
                return line;
        return -1;
    }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = bench.folder() + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray text(int upToLine) const { return lines.mid(0, upToLine).join("\r\n").toUtf8() + "\r\n"; }
};

void expectRowsMatch(const DownloadTable &table, const RecordedTest &test, int rows)
{
    ASSERT_GE(table.rowCount(), rows);
    for (int s = 0; s < rows; ++s) {
        const RecordedTest::Scan &scan = test.scans[s];
        QList<int> counts = scan.counts;
        counts << scan.monitor->first << scan.monitor->second;
        EXPECT_EQ(table.scan(s), s - test.wakeUps() + 1);
        for (int k = 0; k < 5; ++k) {
            const ChannelCalibration &cal = test.calibration[k < 3 ? k : 1];
            const DownloadTable::Clip clip = counts[k] == 0 ? DownloadTable::LowClip
                : counts[k] >= 4095                       ? DownloadTable::HighClip
                                                          : DownloadTable::NoClip;
            EXPECT_EQ(table.clip(s, k), clip) << "scan " << s << " column " << k;
            if (clip == DownloadTable::NoClip)
                EXPECT_DOUBLE_EQ(table.value(s, k), counts[k] * double(cal.slope) + double(cal.offset))
                    << "scan " << s << " column " << k;
            else
                EXPECT_TRUE(std::isnan(table.value(s, k)));
        }
    }
}

} // namespace

TEST(DownloadTableReader, ReadsTheSpreadsheetCsvOfARealDownload)
{
    const Downloaded d;
    ASSERT_GT(d.firstDataLine, 20);
    const DownloadRead read = DownloadTableReader().read(d.bench.folder() + "/run.CSV");

    EXPECT_EQ(read.message.toStdString(), "");
    const DownloadTable &t = read.table;
    EXPECT_EQ(t.facts.kind, DownloadTable::Kind::PartsCsv);
    EXPECT_EQ(t.facts.serialNumber, "BENCH001");
    EXPECT_EQ(t.facts.description, "Ramp test");
    EXPECT_EQ(t.facts.periodSeconds, 60);
    EXPECT_EQ(t.facts.testStart.toString("yyyy-MM-dd hh:mm:ss"), "2026-03-02 08:01:00");
    ASSERT_EQ(t.columns.size(), 5);
    EXPECT_EQ(t.columns[0].caption(), "ch1 L1 (psi)");
    EXPECT_EQ(t.columns[3].caption(), "max L2 Max (psi)");
    EXPECT_EQ(t.columns[4].tag, "min");
    EXPECT_EQ(t.rowCount(), d.test.scans.size());
    expectRowsMatch(t, d.test, int(d.test.scans.size()));
    EXPECT_EQ(t.time(1).toString("yyyy-MM-dd hh:mm:ss"), "2026-03-02 08:01:00");
    ASSERT_FALSE(t.events.isEmpty());
    EXPECT_EQ(t.events[0].kind, "status");
    EXPECT_EQ(t.events[0].afterScan, 9);
}

TEST(DownloadTableReader, AScanThatLostReadingsKeepsGapsAndTheRowsAfterIt)
{
    // A damaged memory's scan is written with only the counts it had, and
    // the next scan follows on its own line.
    const Downloaded d;
    QStringList lines = d.lines;
    const QStringList cells = lines[d.lineOfRow(7) - 1].split(u',');
    lines[d.lineOfRow(7) - 1] = (cells.mid(0, 4) << QString()).join(u',');
    const DownloadRead whole = DownloadTableReader().read(d.bench.folder() + "/run.CSV");
    const DownloadRead read = DownloadTableReader().read(d.write("short.CSV", lines.join("\r\n").toUtf8()));

    EXPECT_EQ(read.message.toStdString(), "");
    ASSERT_EQ(read.table.rowCount(), whole.table.rowCount());
    for (qsizetype r = 0; r < whole.table.rowCount(); ++r) {
        EXPECT_EQ(read.table.scan(r), whole.table.scan(r));
        for (int c = 0; c < 5; ++c) {
            const bool lost = r == 7 && c >= 2;
            if (lost)
                EXPECT_TRUE(std::isnan(read.table.value(r, c)) && read.table.clip(r, c) == DownloadTable::NoClip);
            else if (!std::isnan(whole.table.value(r, c)))
                EXPECT_DOUBLE_EQ(read.table.value(r, c), whole.table.value(r, c)) << r << " " << c;
        }
    }
}

// A bad word inside a scan: when the scan lost a reading it ends short and
// the next scan follows after an empty line; when a memory error or a status
// word came between two readings the rest of the scan follows it. Either way
// every scan is read, with a gap for what was lost.
TEST(DownloadTableReader, AScanBrokenByAnErrorOrStatusIsReadAsItWasWritten)
{
    RecordedTest test = RecordedTest::ramp(3, 0, 100);
    LoggerImage image = test.image();
    image.data[160] = char(0x90); // the third reading of scan 26
    DownloadBench bench(image, 3);
    bench.dialogs.expect("SubReadData Channel Sync Error", Dialogs::Retry);
    bench.chooseName("run");
    bench.download();
    ASSERT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);

    const DownloadRead lost = DownloadTableReader().read(bench.folder() + "/run.CSV");
    EXPECT_EQ(lost.message.toStdString(), "");
    ASSERT_EQ(lost.table.rowCount(), 101);
    EXPECT_EQ(lost.table.scan(26), 26);
    EXPECT_TRUE(std::isnan(lost.table.value(26, 2)));
    EXPECT_FALSE(std::isnan(lost.table.value(26, 1)));
    EXPECT_EQ(lost.table.scan(27), 27);
    EXPECT_FALSE(std::isnan(lost.table.value(27, 2)));
    ASSERT_EQ(lost.table.events.size(), 1);
    EXPECT_EQ(lost.table.events[0].kind, "sync_error");

    // The same file with scan 30 broken inside, as the rows are written when
    // the scan goes on after a memory error (the rest on the next line) or a
    // status word (the rest after it), or breaks again after one more reading.
    const QStringList lines = bench.lines("run.CSV");
    const qsizetype row = lines.indexOf(QRegularExpression("^30,.*"));
    ASSERT_GT(row, 0);
    const QStringList cells = lines[row].split(u',');
    const QString sync = ", Channel Sync/data memory R/W ERROR in scan 184 of 400 Scans.\r\n";
    const QString head = cells.mid(0, 4).join(u',') + ",\r\n";
    const QString tail = cells.mid(4).join(u',');
    struct Break
    {
        const char *name;
        QString row;
        QStringList kinds; // of the events it adds
    };
    const std::vector<Break> breaks = {
        {"memory error", head + sync + tail, {"sync_error"}},
        {"status word", head + ",EVENT/ERROR:,End of test status:,Hex:,04_Stop/Pause," + tail, {"status"}},
        {"status word, then a memory error", cells.mid(0, 3).join(u',') + ",\r\n,EVENT/ERROR:,End of test status:,Hex:,04_Stop/Pause,"
             + cells[3] + ",\r\n" + sync + tail, {"status", "sync_error"}},
        {"three memory errors", cells.mid(0, 3).join(u',') + ",\r\n" + sync + cells[3] + ",\r\n" + sync + "\r\n" + sync + tail,
         {"sync_error", "sync_error", "sync_error"}},
    };
    for (const Break &b : breaks) {
        SCOPED_TRACE(b.name);
        QStringList broken = lines;
        broken[row] = b.row;
        const QString path = bench.folder() + "/split.CSV";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(broken.join("\r\n").toUtf8());
        file.close();
        const DownloadRead split = DownloadTableReader().read(path);
        EXPECT_EQ(split.message.toStdString(), "");
        ASSERT_EQ(split.table.rowCount(), 101);
        for (int c = 0; c < 3; ++c)
            EXPECT_DOUBLE_EQ(split.table.value(30, c), lost.table.value(30, c)) << c;
        ASSERT_EQ(split.table.events.size(), 1 + b.kinds.size());
        for (qsizetype e = 0; e < b.kinds.size(); ++e) {
            EXPECT_EQ(split.table.events[1 + e].kind, b.kinds[e]);
            EXPECT_EQ(split.table.events[1 + e].afterScan, 30);
        }
        if (b.kinds.first() == "status")
            EXPECT_EQ(split.table.events[1].text, "End of test status:,Hex:,04_Stop/Pause");
    }
}

// The calibration cells hold the logger's own texts. One the logger holds
// damaged is read as the header read took it: the number it starts with,
// or 0 when it starts with none.
TEST(DownloadTableReader, CalibrationTextsAreTakenAsTheHeaderReadTookThem)
{
    const Downloaded d;
    const DownloadRead whole = DownloadTableReader().read(d.bench.folder() + "/run.CSV");
    const qsizetype offsets = d.lines.indexOf(QRegularExpression(",*Offset:,.*"));
    ASSERT_GT(offsets, 0);
    const qsizetype cell = d.lines[offsets].split(u',').indexOf("Offset:") + 1;
    const auto withOffset = [&](const QString &text) {
        QStringList lines = d.lines;
        QStringList cells = lines[offsets].split(u',');
        cells[cell] = text;
        lines[offsets] = cells.join(u',');
        return lines.join("\r\n").toUtf8();
    };
    const QString first = d.lines[offsets].split(u',')[cell];

    const DownloadRead damaged = DownloadTableReader().read(d.write("damaged.CSV", withOffset(first + "+0")));
    EXPECT_EQ(damaged.message.toStdString(), "");
    ASSERT_EQ(damaged.table.rowCount(), whole.table.rowCount());
    EXPECT_DOUBLE_EQ(damaged.table.value(1, 0), whole.table.value(1, 0));

    const DownloadRead none = DownloadTableReader().read(d.write("none.CSV", withOffset(".-1P6647E+01")));
    EXPECT_EQ(none.message.toStdString(), "");
    const double slope = whole.table.value(1, 0) - d.lines[offsets].split(u',')[cell].toDouble();
    EXPECT_NEAR(none.table.value(1, 0), slope, 1e-9 * std::fabs(slope));

    // Beyond the logger's floating point the header read holds the largest.
    const DownloadRead huge = DownloadTableReader().read(d.write("huge.CSV", withOffset("+7.48E837-02")));
    EXPECT_EQ(huge.message.toStdString(), "");
    EXPECT_DOUBLE_EQ(huge.table.value(1, 0), double(std::numeric_limits<float>::max()));
}

struct BadCsv
{
    const char *name;
    // The file's bytes, from the real download.
    std::function<QByteArray(const Downloaded &)> bytes;
    // The message, with %1 for the line of the fault.
    const char *message;
    // The row whose line is the fault's line, and the rows kept.
    int faultRow;
    int rowsKept;
};

TEST(DownloadTableReader, BadFilesAreRefusedOrReadUpToTheFault)
{
    const auto cutRow = [](const QString &row) {
        int commas = 0;
        for (int i = 0; i < row.size(); ++i)
            if (row[i] == u',' && ++commas == 4)
                return row.left(i + 2);
        return row;
    };
    const auto edited = [](const Downloaded &d, int s, int cell, const QString &text) {
        QStringList lines = d.lines;
        QStringList cells = lines[d.lineOfRow(s) - 1].split(u',');
        if (cell < cells.size())
            cells[cell] = text;
        lines[d.lineOfRow(s) - 1] = cells.join(u',');
        return lines.join("\r\n").toUtf8();
    };
    const std::vector<BadCsv> cases = {
        {"cut.CSV", [&](const Downloaded &d) {
             return d.text(d.lineOfRow(7) - 1) + cutRow(d.lines[d.lineOfRow(7) - 1]).toUtf8();
         }, "cut.CSV: read 7 rows; line %1: the file ends in the middle of a row.", 7, 7},
        {"count.CSV", [&](const Downloaded &d) { return edited(d, 5, 3, "abc"); },
         "count.CSV: read 5 rows; line %1: \"abc\" is not a count.", 5, 5},
        {"value.CSV", [&](const Downloaded &d) { return edited(d, 12, 10, "abc"); },
         "value.CSV: read 12 rows; line %1: \"abc\" is not a value.", 12, 12},
        {"time.CSV", [&](const Downloaded &d) { return edited(d, 3, 1, "yesterday"); },
         "time.CSV: read 3 rows; line %1: \"yesterday\" is not a date and time.", 3, 3},
        {"order.CSV", [&](const Downloaded &d) { return edited(d, 4, 0, "1"); },
         "order.CSV: read 4 rows; line %1: scan 1 does not follow scan 3.", 4, 4},
        // Fewer cells than a whole row but more counts than columns, in a
        // file cut after it: the row is taken as short, then dropped as cut.
        {"extra.CSV", [](const Downloaded &d) {
             QStringList lines = d.lines.mid(0, d.lineOfRow(6));
             QStringList cells = lines.last().split(u',');
             const int columns = int(cells.size() - 4) / 2;
             lines.last() = (cells.mid(0, 2 + columns) << "100").join(u',');
             return lines.join("\r\n").toUtf8();
         }, "extra.CSV: read 6 rows; line %1: the file ends in the middle of a row.", 6, 6},
        {"end.CSV", [&](const Downloaded &d) { return d.text(d.lineOfRow(20)); },
         "end.CSV: read 21 rows; line %1: the file ends before \"End of Downloaded Data\".", 21, 21},
        {"utf16.CSV", [](const Downloaded &d) {
             QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
             return QByteArray(encoder(d.lines.join("\r\n")));
         }, "utf16.CSV cannot be opened: it is in UTF-16; a download is plain UTF-8 text.", -1, 0},
        {"junk.CSV", [](const Downloaded &) {
             QByteArray junk;
             for (int i = 0; i < 5000; ++i)
                 junk += char(i * 37 % 256);
             return junk;
         }, "junk.CSV cannot be opened: it holds binary data, not text.", -1, 0},
        {"empty.CSV", [](const Downloaded &) { return QByteArray(); },
         "empty.CSV cannot be opened: the file is empty.", -1, 0},
        {"other.CSV", [](const Downloaded &) { return QByteArray("Name,Age\r\nBob,42\r\nAnn,37\r\n"); },
         "other.CSV cannot be opened: it is not a logger download (no \"Description:\" line at its top).", -1, 0},
        {"long.CSV", [](const Downloaded &) { return QByteArray(200000, 'x'); },
         "long.CSV cannot be opened: line 1: the line is longer than any download writes.", -1, 0},
        {"head.CSV", [](const Downloaded &d) { return d.text(12); },
         "head.CSV cannot be opened: the file ends before its data starts.", -1, 0},
        {"notes.TXT", [](const Downloaded &d) { return d.text(12); },
         "notes.TXT cannot be opened: only .CSV and .RAW files of a download can be opened.", -1, 0},
    };
    const Downloaded d;
    ASSERT_GT(d.firstDataLine, 20);
    for (const BadCsv &c : cases) {
        SCOPED_TRACE(c.name);
        const DownloadRead read = DownloadTableReader().read(d.write(c.name, c.bytes(d)));
        const int line = c.faultRow < 0 ? 0 : c.faultRow == 21 ? d.lineOfRow(20) + 1 : d.lineOfRow(c.faultRow);
        EXPECT_EQ(read.message.toStdString(), (c.faultRow < 0 ? QString::fromUtf8(c.message) : QString::fromUtf8(c.message).arg(line)).toStdString());
        EXPECT_EQ(read.refused, c.faultRow < 0);
        EXPECT_EQ(read.table.rowCount(), c.rowsKept);
        if (!read.refused)
            expectRowsMatch(read.table, d.test, c.rowsKept);
    }
}
