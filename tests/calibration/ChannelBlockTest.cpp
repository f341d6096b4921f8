#include "calibration/CalFields.h"
#include "calibration/CalNumbers.h"
#include "calibration/ChannelBlock.h"
#include "logger/ChannelCalRecord.h"
#include "logger/FunctionsSubs.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

CalBoxes exampleBoxes()
{
    CalBoxes b;
    b[1] = QStringLiteral("2");
    b[2] = QStringLiteral("2027/03/15");
    b[3] = QStringLiteral("uA");
    b[4] = QStringLiteral("PX-409");
    b[5] = QStringLiteral("SN12345678X");
    b[6] = QStringLiteral("PSI");
    b[7] = QStringLiteral("0");
    b[8] = QStringLiteral("0");
    b[9] = QStringLiteral("0");
    b[10] = QStringLiteral("1000");
    b[11] = QStringLiteral("4000");
    b[12] = QStringLiteral("100");
    b[13] = QStringLiteral("100");
    b[14] = QStringLiteral("TANK");
    b[15] = QStringLiteral("00041002");
    b[16] = QStringLiteral("1000");
    b[17] = QStringLiteral("0");
    b[18] = QStringLiteral("1");
    b[19] = QStringLiteral("0.025");
    b[20] = QStringLiteral("-1.5");
    b[21] = QStringLiteral("-1.5");
    b[22] = QStringLiteral("100.875");
    b[23] = QStringLiteral("0.025");
    b.twoPoint = true;
    return b;
}

} // namespace

// Every line of the window's write of a known channel: the numbers in the
// logger's scientific text, the slope and offset also as the firmware's
// hexadecimal floating point (0.025 = 7F666666, -1.5 = 81C00000).
TEST(ChannelBlockTest, WindowWriteOfAKnownChannel)
{
    const std::optional<QStringList> lines = ChannelBlock::fromBoxes(exampleBoxes()).lines();
    ASSERT_TRUE(lines);
    const QStringList expected = {
        QStringLiteral("PX-409  SN123456"), QStringLiteral("PSI +2.50000E-02"),
        QStringLiteral("TANK-1.50000E+00"), QStringLiteral("+1.00000E+03uA  "),
        QStringLiteral("+0.00000E+00") + fnFloatToHexFP(0.025f).left(4),
        QStringLiteral("+1.00000E+00") + fnFloatToHexFP(0.025f).mid(4),
        QStringLiteral("46461.000000") + fnFloatToHexFP(-1.5f).left(4),
        QStringLiteral("+0.00000E+00") + fnFloatToHexFP(-1.5f).mid(4),
        QStringLiteral("+0.00000E+00    "), QStringLiteral("+0.00000E+00    "),
        QStringLiteral("+4.00000E+03    "), QStringLiteral("+1.00000E+021   "),
        QStringLiteral("+1.00000E+02    "), QStringLiteral("+1.00000E+03uA  "),
        QStringLiteral("-1.50000E+00-1.5"), QStringLiteral("+1.00875E+02100."),
    };
    EXPECT_EQ(*lines, expected);
    for (const QString &line : *lines)
        EXPECT_EQ(line.size(), 16) << line.toStdString();
}

// The all-channel write takes the record's texts and leaves out the
// firmware's hexadecimal copies and the output boxes' texts.
TEST(ChannelBlockTest, AllChannelWriteOfARecord)
{
    ChannelCalRecord record;
    ChannelBlock::fromBoxes(exampleBoxes()).applyTo(record);
    record.calType = 0;
    const std::optional<QStringList> lines = ChannelBlock::fromRecord(record).lines();
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->at(4), QStringLiteral("+0.00000E+00    "));
    EXPECT_EQ(lines->at(5), QStringLiteral("+1.00000E+00    "));
    EXPECT_EQ(lines->at(6), QStringLiteral("46461.000000xxxx"));
    EXPECT_EQ(lines->at(7), QStringLiteral("+0.00000E+00    "));
    EXPECT_EQ(lines->at(11), QStringLiteral("+1.00000E+020   "));
    EXPECT_EQ(lines->at(14), QStringLiteral("-1.50000E+00    "));
    EXPECT_EQ(lines->at(15), QStringLiteral("+1.00875E+02    "));
    // The record now agrees with what the logger holds.
    EXPECT_EQ(record.slope.text, QStringLiteral("+2.50000E-02"));
    EXPECT_FLOAT_EQ(record.slope.value, 0.025f);
    EXPECT_EQ(record.modelNumber, QStringLiteral("PX-409  "));
}

// Values the block cannot hold refuse the whole write, before any line.
TEST(ChannelBlockTest, UnwritableValuesRefuseTheBlock)
{
    const struct
    {
        int field;
        const char *text;
    } cases[] = {
        {19, "1e39"}, {7, "-3.5e38"}, {2, "2027/02/30"}, {2, "next year"}, {2, ""}, {2, "2500/01/01"},
    };
    for (const auto &c : cases) {
        CalBoxes boxes = exampleBoxes();
        boxes[c.field] = QString::fromLatin1(c.text);
        EXPECT_FALSE(ChannelBlock::fromBoxes(boxes).lines()) << c.field << " " << c.text;
    }
    // Junk reads as 0, as the boxes always have; a long text is cut.
    CalBoxes junk = exampleBoxes();
    junk[7] = QStringLiteral("abc");
    junk[4] = QString(200, u'M');
    const std::optional<QStringList> lines = ChannelBlock::fromBoxes(junk).lines();
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->at(7).left(12), QStringLiteral("+0.00000E+00"));
    EXPECT_EQ(lines->at(0), QStringLiteral("MMMMMMMMSN123456"));
}

TEST(ChannelBlockTest, FactoryDefaults)
{
    const QStringList lines = ChannelBlock::factoryDefaults(3, false);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.at(0), QStringLiteral("..None....None.."));
    EXPECT_EQ(lines.at(1), QStringLiteral(" mV +1.00000E+00"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Ch 3+0.00000E+00"));
    EXPECT_EQ(lines.at(3), QStringLiteral("+1.00000E+03.uA."));
    EXPECT_EQ(lines.at(4), QStringLiteral("+1.00000E+03dum2"));
    EXPECT_EQ(lines.at(6), QStringLiteral("36526.000000xxxx"));
    EXPECT_EQ(lines.at(10), QStringLiteral("+4.00000E+03dum3"));
    EXPECT_EQ(lines.at(14), QStringLiteral("+0.00000E+00xxxE"));
    EXPECT_EQ(lines.at(15), QStringLiteral("+4.09500E+03yyyF"));
    EXPECT_EQ(ChannelBlock::factoryDefaults(1, true).at(3), QStringLiteral("+1.00000E+03.mV."));
}

TEST(ChannelBlockTest, AddressesAndProgress)
{
    EXPECT_EQ(ChannelBlock::address(0, 0), 0x0600);
    EXPECT_EQ(ChannelBlock::address(2, 8), 0x0880);
    EXPECT_EQ(ChannelBlock::address(7, 15), 0x0DF0);
    const std::pair<int, int> progress[] = {{1, 1}, {3, 2}, {5, 3}, {7, 4}, {9, 5}, {11, 6}, {15, 7}};
    for (auto [line, value] : progress)
        EXPECT_EQ(ChannelBlock::progressAfter(line), value) << line;
    for (int line : {0, 2, 12, 13, 14})
        EXPECT_FALSE(ChannelBlock::progressAfter(line)) << line;
}

TEST(CalNumbersTest, BoxTextsAndGeneralText)
{
    EXPECT_EQ(CalNumbers::value(QStringLiteral("  1.5abc")), 1.5);
    EXPECT_EQ(CalNumbers::value(QStringLiteral("1,5")), 1.0);
    EXPECT_EQ(CalNumbers::value(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(CalNumbers::strictValue(QStringLiteral(" -2.5E+01 ")), -25.0);
    EXPECT_FALSE(CalNumbers::strictValue(QStringLiteral("1,5")));
    EXPECT_FALSE(CalNumbers::strictValue(QString()));
    const std::pair<float, const char *> floats[] = {
        {0.0f, "0"}, {4095.0f, "4095"}, {0.00299f, "0.00299"}, {1.02f, "1.02"}, {-1.5f, "-1.5"},
        {1.0f / 3.0f, "0.3333333"}, {1.5e-7f, "1.5E-07"}, {2.5e12f, "2.5E+12"}, {1234567.0f, "1234567"},
    };
    for (auto [value, text] : floats)
        EXPECT_EQ(CalNumbers::generalText(value), QLatin1String(text)) << text;
    EXPECT_EQ(CalNumbers::generalText(4095.0 * 0.00299 + 1.02), QStringLiteral("13.26405"));
    EXPECT_EQ(CalNumbers::scientificPicture(0.025), QStringLiteral("2.50000E-02"));
}

TEST(CalNumbersTest, DueDates)
{
    EXPECT_EQ(CalNumbers::defaultDueDate(QDate(2026, 12, 30)), QStringLiteral("2027/01/01"));
    EXPECT_EQ(CalNumbers::dueDate(QStringLiteral("2027-3-5")), QDate(2027, 3, 5));
    EXPECT_EQ(CalNumbers::dayNumberText(QDate(2000, 1, 1)), QStringLiteral("36526."));
    EXPECT_FALSE(CalNumbers::dueDate(QStringLiteral("15/03/2027")));
    EXPECT_FALSE(CalNumbers::dayNumberText(QDate(1899, 12, 29)));
}
