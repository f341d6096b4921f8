#include "tests/support/QStringPrinter.h"

#include "logger/download/DownloadTableReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QByteArray Rows = "scan,time,ch1 count,ch1 PUMP (PSI),ch1 clip,ch2 count,\"ch2 PIPE, north (DegF)\",ch2 clip\r\n"
                        "1,2026-03-29T01:30:00+01:00,100,-13.88888889,,200,12.5,\r\n"
                        "2,2026-03-29T01:31:00+01:00,0,,low,201,12.75,\r\n"
                        "3,,4095,,high,202,13,\r\n";
const QByteArray Events = "after_scan,time,kind,text\r\n"
                          "2,2026-03-29T01:31:00+01:00,status,\"_VBatLO, LogDone\"\r\n";
const QByteArray Metadata = R"({
    "format": "datalogger-download", "formatVersion": 1,
    "logger": { "serialNumber": "00041002", "model": "T410-8MC" },
    "test": { "description": "Pump station 7", "startDate": "2026-03-29T01:30:00+01:00",
              "scanPeriodSeconds": 60 }
})";

class TidyReader : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static void expectTheFixture(const DownloadTable &t)
    {
        EXPECT_EQ(t.facts.serialNumber, "00041002");
        EXPECT_EQ(t.facts.model, "T410-8MC");
        EXPECT_EQ(t.facts.description, "Pump station 7");
        EXPECT_EQ(t.facts.periodSeconds, 60);
        ASSERT_EQ(t.columns.size(), 2);
        EXPECT_EQ(t.columns[1].location, "PIPE, north");
        EXPECT_EQ(t.columns[1].units, "DegF");
        EXPECT_EQ(t.columns[1].channel, 2);
        ASSERT_EQ(t.rowCount(), 3);
        EXPECT_DOUBLE_EQ(t.value(0, 0), -13.88888889);
        EXPECT_EQ(t.clip(1, 0), DownloadTable::LowClip);
        EXPECT_EQ(t.clip(2, 0), DownloadTable::HighClip);
        EXPECT_TRUE(std::isnan(t.value(2, 0)));
        EXPECT_DOUBLE_EQ(t.value(2, 1), 13);
        EXPECT_EQ(t.time(1).toString(Qt::ISODate), "2026-03-29T01:31:00+01:00");
        EXPECT_FALSE(t.time(2).isValid());
        ASSERT_EQ(t.events.size(), 1);
        EXPECT_EQ(t.events[0].afterScan, 2);
        EXPECT_EQ(t.events[0].kind, "status");
        EXPECT_EQ(t.events[0].text, "_VBatLO, LogDone");
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(TidyReader, ReadsTheTidyFileWithItsEventsAndMetadata)
{
    write("A .events.csv", Events);
    write("A .json", Metadata);
    const DownloadRead read = DownloadTableReader().read(write("A .tidy.csv", Rows));
    EXPECT_EQ(read.message, "");
    EXPECT_EQ(read.table.facts.kind, DownloadTable::Kind::TidyCsv);
    expectTheFixture(read.table);
}

TEST_F(TidyReader, ReadsTheSameTextFromMemory)
{
    const DownloadRead read = DownloadTableReader::readTidyText({Rows, Events, Metadata}, "A .RAW");
    EXPECT_EQ(read.message, "");
    expectTheFixture(read.table);
}

TEST_F(TidyReader, RawFilesGoThroughTheRebuildHookOrAreRefused)
{
    const QString raw = write("A .RAW", "anything");
    DownloadTableReader reader;
    EXPECT_EQ(reader.read(raw).message, "A .RAW cannot be opened: RAW files cannot be opened by this version.");
    EXPECT_FALSE(reader.fileFilter().contains("RAW"));
    QString asked;
    reader.setRawRebuild([&](const QString &path, DownloadTableReader::TidyTexts *texts, QString *) {
        asked = path;
        *texts = {Rows, Events, Metadata};
        return true;
    });
    EXPECT_TRUE(reader.fileFilter().contains("*.RAW"));
    const DownloadRead read = reader.read(raw);
    EXPECT_EQ(asked, raw);
    EXPECT_EQ(read.table.facts.kind, DownloadTable::Kind::Raw);
    expectTheFixture(read.table);
    reader.setRawRebuild([](const QString &, DownloadTableReader::TidyTexts *, QString *error) {
        *error = "its header is of version 0999";
        return false;
    });
    EXPECT_EQ(reader.read(raw).message, "A .RAW cannot be opened: its header is of version 0999.");
}

TEST_F(TidyReader, BadTidyFilesAreRefusedOrReadUpToTheFault)
{
    struct Case
    {
        QByteArray rows;
        QByteArray metadata;
        const char *message;
        int rowsKept;
    };
    const QByteArray heading = Rows.left(Rows.indexOf('\n') + 1);
    const std::vector<Case> cases = {
        {Rows.left(Rows.lastIndexOf("4095") + 2), Metadata,
         "B .tidy.csv: read 2 rows; line 4: the row has 3 cells, the heading 8.", 2},
        {QByteArray(Rows).replace("12.75", "abc"), Metadata,
         "B .tidy.csv: read 1 row; line 3: \"abc\" is not a count, value or clip.", 1},
        {QByteArray(Rows).replace(",high,", ",hi,"), Metadata,
         "B .tidy.csv: read 2 rows; line 4: \"hi\" is not a count, value or clip.", 2},
        {QByteArray(Rows).replace("T01:31:00+01:00,0,", "T01:29:00+01:00,0,"), Metadata,
         "B .tidy.csv: read 1 row; line 3: the time of scan 2 goes back.", 1},
        {Rows, QByteArray(Metadata).replace("\"formatVersion\": 1", "\"formatVersion\": 2"),
         "B .tidy.csv cannot be opened: its metadata is of format version 2; this program reads version 1.", 0},
        {Rows, "{\"format\": \"something else\"}", "B .tidy.csv cannot be opened: its metadata belongs to no download.", 0},
        {"Name,Age\r\nBob,42\r\n", "", "B .tidy.csv cannot be opened: its first line is not the heading of a tidy download.", 0},
        {heading, "", "B .tidy.csv cannot be opened: it holds no rows of data.", 0},
        {"", "", "B .tidy.csv cannot be opened: the file is empty.", 0},
        {QByteArray("\xFF\xFE") + QByteArray(20, 'a'), "", "B .tidy.csv cannot be opened: it is in UTF-16; a download is plain UTF-8 text.", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        QFile::remove(dir.filePath("B .json"));
        if (!c.metadata.isEmpty())
            write("B .json", c.metadata);
        const DownloadRead read = DownloadTableReader().read(write("B .tidy.csv", c.rows));
        EXPECT_EQ(read.message.toStdString(), c.message);
        EXPECT_EQ(read.table.rowCount(), c.rowsKept);
    }
}
