#include "reports/RealTimeReport.h"
#include "reports/ReportFile.h"
#include "tests/reports/ReportLines.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/RecordingPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2011, 9, 23), QTime(10, 0, 0));

RealTimeReport::Contents twoChannels()
{
    return {QStringLiteral("Tank \"B\"\nmorning"),
            QStringLiteral("1,024"),
            {{"Sensor Number", "Loc Code", "", "Eng Units", "Average", "Max Deviation", "3-Sigma"},
             {"Sensor 1", "T01", "12.50", "degC", "12.45", "0.10", "0.30"},
             {"Sensor 2", "", "LO-CLIP", "psi", "0", "0", "0"}}};
}

} // namespace

TEST(RealTimeReport, PrintedLines)
{
    RecordingPrinter printer;
    ASSERT_TRUE(RealTimeReport::print(printer, twoChannels(), Now));
    QStringList expected{columns({{24, QStringLiteral("Data Logger Real Time Data")}})};
    expected << dateAndTime(Now, 1, 44) << QString() << QStringLiteral("Tank \"B\"") << QStringLiteral("morning")
             << QString() << QStringLiteral("Current Count:  1,024") << QString()
             << QStringLiteral("__________   Sensor Number        Loc Code                       Eng Units"
                               "         Average   Max Deviation         3-Sigma")
             << QStringLiteral("        Sensor 1             T01           12.50            degC"
                               "           12.45            0.10            0.30")
             << QStringLiteral("        Sensor 2                         LO-CLIP             psi"
                               "               0               0               0")
             << QString();
    EXPECT_EQ(printer.lines().join(u'\n'), expected.join(u'\n'));
    EXPECT_EQ(printer.documents.at(0).title, QStringLiteral("Data Logger Real Time Data"));
    EXPECT_EQ(printer.documents.at(0).fontName, QStringLiteral("Courier 10,12,15"));
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
}

TEST(RealTimeReport, CellsRightAlignedInSixteen)
{
    EXPECT_EQ(RealTimeReport::printedRow({"a", "bc"}, false), QString(15, u' ') + "a" + QString(14, u' ') + "bc");
    EXPECT_EQ(RealTimeReport::printedRow({}, true), QStringLiteral("__________"));
    // A longer text is not cut.
    EXPECT_EQ(RealTimeReport::printedRow({"12345678901234567"}, false), QStringLiteral("12345678901234567"));
}

TEST(RealTimeReport, FileBytes)
{
    const QByteArray expected = "\"File\"\t\"Data Logger Real Time Data\"\r\n\""
        + ReportText::longDate(Now).toUtf8() + "\"\t\"" + ReportText::longTime(Now).toUtf8() + "\"\r\n"
        "\"Tank \"\"B\"\"\r\nmorning\"\t\"1,024\"\r\n"
        "\"Sensor Number\"\t\"Loc Code\"\t\"\"\t\"Eng Units\"\t\"Average\"\t\"Max Deviation\"\t\"3-Sigma\"\r\n"
        "\"Sensor 1\"\t\"T01\"\t\"12.50\"\t\"degC\"\t\"12.45\"\t\"0.10\"\t\"0.30\"\r\n"
        "\"Sensor 2\"\t\"\"\t\"LO-CLIP\"\t\"psi\"\t\"0\"\t\"0\"\t\"0\"\r\n";
    EXPECT_EQ(RealTimeReport::fileText(twoChannels(), Now), expected);
}

// The file is written whole; a missing folder is "File not found.", any other
// failure its number and text, and nothing is left behind.
TEST(ReportFile, WritesOrSaysWhy)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("rt.txt"));
    EXPECT_EQ(ReportFile::write(good, "abc\r\n"), std::nullopt);
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("abc\r\n"));

    EXPECT_EQ(ReportFile::write(dir.filePath(QStringLiteral("missing/rt.txt")), "x"),
              QStringLiteral("File not found."));

    // A folder where the file should be cannot be replaced by it.
    const QString folder = dir.filePath(QStringLiteral("taken.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::optional<QString> error = ReportFile::write(folder, "x");
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith(QStringLiteral("Error "))) << error->toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rt.txt")});
}
