#include "calibration/CalFields.h"
#include "logger/LoggerHeader.h"
#include "reports/CalDataReport.h"
#include "tests/reports/ReportLines.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2011, 9, 23), QTime(10, 0, 0));

const char *const RowLabels[24] = {
    "  1: Sensor Num       ", "  2: Cal Due Date     ", "  3: Exc EU           ", "  4: Model Num        ",
    "  5: Serial Num       ", "  6: Eng Units        ", "  7: Milli at 0       ", "  8: EU at 0          ",
    "  9: FSEU at 0        ", " 10: Excite           ", " 11: Milli at 100     ", " 12: EU at 100        ",
    " 13: FSEU at 100      ", " 14: Loc Code         ", " 15: DL Serial Num    ", " 16: SC exite         ",
    " 17: SC Offset        ", " 18: SC Gain          ", " 19: Logger Slope     ", " 20: Logger Offset    ",
    " 21: SC Output at 0   ", " 22: SC Output at 100 ", " 23: Sensitivity      ", " 24: Cal Type, point B",
};

// Four installed channels: field n of channel k holds "k.n" in the field's
// own width, channel 2 has no due date, channel 3 a two-point calibration.
LoggerHeader fourChannels()
{
    LoggerHeader header;
    header.modelVersion = QStringLiteral("KDL-8   ");
    header.serialNumber = QStringLiteral("00012345");
    header.installedChannels = 4;
    for (int k = 1; k <= 4; ++k) {
        ChannelCalRecord &record = header.channel[size_t(k - 1)];
        for (int n = 3; n <= 23; ++n)
            CalFields::setRecordText(record, n, QStringLiteral("%1.%2").arg(k).arg(n));
        record.calDue = k == 2 ? QString() : QStringLiteral("2012/0%1/15").arg(k);
        record.calType = k == 3 ? 1 : 0;
    }
    return header;
}

QString expectedValue(const LoggerHeader &header, int k, int row)
{
    switch (row) {
    case 1: return QString::number(k);
    case 2: return k == 2 ? QStringLiteral("2011-09-25") : QStringLiteral("2012-0%1-15").arg(k);
    case 15: return header.serialNumber;
    case 24: return k == 3 ? QStringLiteral("2-point cal, 2nd point") : QStringLiteral("DBST sensitivity");
    default: return CalFields::recordText(header.channel[size_t(k - 1)], row);
    }
}

QStringList group(const LoggerHeader &header, int first, int last)
{
    QStringList lines;
    for (int row = 1; row <= 24; ++row) {
        QString line = columns({{8, QString::fromLatin1(RowLabels[row - 1])}});
        for (int k = first; k <= last; ++k)
            line = line.leftJustified(31 + 24 * (k - first), u' ') + expectedValue(header, k, row);
        while (line.endsWith(u' '))
            line.chop(1);
        lines << line;
    }
    return lines << QString();
}

} // namespace

TEST(CalDataReport, LinesOfFourChannels)
{
    LoggerHeader header = fourChannels();
    RecordingPrinter printer;
    ASSERT_TRUE(CalDataReport::print(printer, header, QStringLiteral("Bench 3\nafter repair"), Now));

    QStringList expected{QStringLiteral("       Signal Conditioning Calibration Data")};
    expected << dateAndTime(Now, 8, 48);
    expected << QString() << columns({{80, QStringLiteral("Model Number:  ")}, {104, QStringLiteral("KDL-8")}})
             << columns({{80, QStringLiteral("Serial Number: ")}, {104, QStringLiteral("00012345")}}) << QString();
    expected << QStringLiteral("       Bench 3") << QStringLiteral("       after repair") << QString();
    expected << group(header, 1, 3) << group(header, 4, 4);
    EXPECT_EQ(printer.lines().join(u'\n'), expected.join(u'\n'));
    EXPECT_EQ(printer.documents.at(0).title, QStringLiteral("Data Logger Calibration Data"));
}

// The row values of one channel, row by row, spelled out.
TEST(CalDataReport, RowsOfOneChannel)
{
    LoggerHeader header;
    header.serialNumber = QStringLiteral("SN000001");
    header.installedChannels = 1;
    ChannelCalRecord &record = header.channel[0];
    record.calDue = QStringLiteral("2013/1/2");
    record.excitationUnits = QStringLiteral("uA  ");
    record.modelNumber = QStringLiteral("PX-100  ");
    record.slope.text = QStringLiteral(" 1.23450E-02");
    record.calType = 1;
    RecordingPrinter printer;
    CalDataReport::layOut(printer, header, QString(), Now);
    printer.endDoc();
    const QStringList lines = printer.lines();
    ASSERT_EQ(lines.size(), 8 + 25);
    const auto row = [&lines](int n) { return lines.at(7 + n); };
    EXPECT_EQ(row(1), columns({{8, QStringLiteral("  1: Sensor Num       ")}, {32, QStringLiteral("1")}}));
    EXPECT_EQ(row(2), columns({{8, QStringLiteral("  2: Cal Due Date     ")}, {32, QStringLiteral("2013-01-02")}}));
    EXPECT_EQ(row(3), columns({{8, QStringLiteral("  3: Exc EU           ")}, {32, QStringLiteral("uA")}}));
    EXPECT_EQ(row(4), columns({{8, QStringLiteral("  4: Model Num        ")}, {32, QStringLiteral("PX-100")}}));
    EXPECT_EQ(row(15), columns({{8, QStringLiteral(" 15: DL Serial Num    ")}, {32, QStringLiteral("SN000001")}}));
    EXPECT_EQ(row(19), columns({{8, QStringLiteral(" 19: Logger Slope     ")}, {32, QStringLiteral(" 1.23450E-02")}}));
    EXPECT_EQ(row(24),
              columns({{8, QStringLiteral(" 24: Cal Type, point B")}, {32, QStringLiteral("2-point cal, 2nd point")}}));
    EXPECT_EQ(lines.last(), QString());
}

// The report prints in its own font and puts the one in force back after the
// document; a channel without a due date is printed two days ahead and keeps
// that date; a cancelled print dialog prints and changes nothing.
TEST(CalDataReport, FontDueDatesAndCancel)
{
    for (const bool accept : {true, false}) {
        LoggerHeader header = fourChannels();
        RecordingPrinter printer;
        printer.setFontName(QStringLiteral("Times"));
        printer.setFontSize(14);
        printer.acceptDialog = accept;
        EXPECT_EQ(CalDataReport::print(printer, header, QString(), Now), accept);
        EXPECT_EQ(printer.dialogTitles, QStringList{QStringLiteral("Data Logger Calibration Data")});
        EXPECT_EQ(printer.fontName(), QStringLiteral("Times"));
        EXPECT_EQ(printer.fontSize(), 14);
        EXPECT_EQ(header.channel[1].calDue, accept ? QStringLiteral("2011/09/25") : QString());
        EXPECT_EQ(header.channel[0].calDue, QStringLiteral("2012/01/15"));
        ASSERT_EQ(printer.documents.size(), accept ? 1u : 0u);
        if (accept) {
            EXPECT_EQ(printer.documents[0].fontName, QStringLiteral("Courier 10,12,15"));
            EXPECT_EQ(printer.documents[0].fontSize, 10);
        }
    }
}
