#include "calibration/CalibrationLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

ChannelCalRecord record(const QString &model, const QString &slope, const QString &due)
{
    ChannelCalRecord r;
    r.modelNumber = model;
    r.serialNumber = "SN 1    ";
    r.engUnits = "PSI ";
    r.slope.text = slope;
    r.offset.text = "-1.00000E+01";
    r.calDue = due;
    return r;
}

const QDateTime When(QDate(2026, 12, 10), QTime(14, 3), QTimeZone(3600));

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(CalibrationLog, TimeCarriesItsOffsetFromUtc)
{
    EXPECT_EQ(CalibrationLog::timeText(When), "2026-12-10T14:03:00+01:00");
    EXPECT_EQ(CalibrationLog::timeText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(-(5 * 3600 + 1800)))),
              "2026-01-02T03:04:05-05:30");
    EXPECT_EQ(CalibrationLog::timeText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(0))),
              "2026-01-02T03:04:05+00:00");
}

TEST(CalibrationLog, HeaderAndLineCells)
{
    EXPECT_EQ(CalibrationLog::headerLine(),
              "\"Date and time\",\"Logger serial\",\"Channel\",\"Old model\",\"New model\","
              "\"Old sensor serial\",\"New sensor serial\",\"Old units\",\"New units\",\"Old slope\","
              "\"New slope\",\"Old offset\",\"New offset\",\"Old due date\",\"New due date\"");
    const CalibrationLog::Entry entry{3, record("AB \"x\"  ", " 2.50000E-01", "2026/12/12"),
                                      record("@SUM(1) ", "junk", "")};
    EXPECT_EQ(CalibrationLog::line("00041002", entry, When),
              "2026-12-10T14:03:00+01:00,\"00041002\",3,\"AB \"\"x\"\"\",\"'@SUM(1)\",\"SN 1\",\"SN 1\","
              "\"PSI\",\"PSI\",2.50000E-01,\"junk\",-1.00000E+01,-1.00000E+01,2026-12-12,\"\"");
}

TEST(CalibrationLog, AppendsAndNeverTruncates)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath("CalibrationLog.csv");
    const CalibrationLog::Entry one{1, record("A", " 1.0E+00", "2026/12/12"), record("B", " 2.0E+00", "2026/12/12")};
    QString error;
    ASSERT_TRUE(CalibrationLog::append(dir.path(), "S1", {one}, When, &error)) << error.toStdString();
    ASSERT_TRUE(CalibrationLog::append(dir.path(), "S2", {one, one}, When, &error)) << error.toStdString();
    const QList<QByteArray> lines = contents(file).split('\n');
    ASSERT_EQ(lines.size(), 5) << "header, three lines, and the final line break";
    EXPECT_EQ(lines[0], CalibrationLog::headerLine().toUtf8() + "\r");
    EXPECT_TRUE(lines[1].contains("\"S1\",1,"));
    EXPECT_TRUE(lines[3].contains("\"S2\",1,"));
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST(CalibrationLog, ALastLineCutShortIsEndedFirst)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath("CalibrationLog.csv");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept,\"cut");
    }
    const CalibrationLog::Entry one{2, {}, {}};
    ASSERT_TRUE(CalibrationLog::append(dir.path(), "S", {one}, When, nullptr));
    const QByteArray all = contents(file);
    EXPECT_TRUE(all.startsWith("kept,\"cut\r\n" + CalibrationLog::timeText(When).toUtf8())) << all.toStdString();
}

TEST(CalibrationLog, AFileThatCannotBeWrittenIsReported)
{
    QTemporaryDir dir;
    const CalibrationLog::Entry one{2, {}, {}};
    QString error;
    EXPECT_FALSE(CalibrationLog::append(dir.filePath("missing"), "S", {one}, When, &error));
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();
    // A folder in the file's place cannot be opened.
    ASSERT_TRUE(QDir(dir.path()).mkdir("CalibrationLog.csv"));
    error.clear();
    EXPECT_FALSE(CalibrationLog::append(dir.path(), "S", {one}, When, &error));
    EXPECT_FALSE(error.isEmpty());
}
