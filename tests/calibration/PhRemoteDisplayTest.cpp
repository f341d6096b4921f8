#include "calibration/PhRemoteDisplay.h"

#include "logger/ChannelCalRecord.h"
#include "logger/FunctionsSubs.h"

#include <gtest/gtest.h>

using Check = PhRemoteDisplay::Check;

// A box's count: its numeric value, halves to even, never wrapped into 16 bits.
TEST(PhRemoteDisplayCount, BoxTextsGiveTheirRoundedCount)
{
    const struct
    {
        const char *text;
        std::optional<qint16> count;
    } cases[] = {
        {"", 0},           {"1000", 1000},    {"  2000", 2000},   {"1000.5", 1000},
        {"1001.5", 1002},  {"0.5", 0},        {"-0.4", 0},        {"4095.4", 4095},
        {"4095.5", 4096},  {"12abc", 12},     {"abc", 0},         {"1,5", 1},
        {"3e3", 3000},     {"-32768", -32768}, {"32767", 32767},  {"32768", std::nullopt},
        {"1e39", std::nullopt}, {"-1e10", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PhRemoteDisplay::count(QString::fromLatin1(c.text)), c.count) << c.text;
    EXPECT_EQ(PhRemoteDisplay::count(QString(200, u'9')), std::nullopt) << "200 nines";
}

TEST(PhRemoteDisplayCheck, RangeThenOrder)
{
    const struct
    {
        std::optional<qint16> a4, a7;
        Check check;
    } cases[] = {
        {1000, 2000, Check::Ok},
        {0, 4095, Check::Ok},
        {0, 3000, Check::Ok},
        {-1, 2000, Check::Ph4OutOfRange},
        {4096, 2000, Check::Ph4OutOfRange},
        {std::nullopt, 2000, Check::Ph4OutOfRange},
        {1000, 5000, Check::Ph7OutOfRange},
        {1000, std::nullopt, Check::Ph7OutOfRange},
        {5000, 5000, Check::Ph4OutOfRange},
        {2000, 2000, Check::Reversed},
        {2000, 1000, Check::Reversed},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PhRemoteDisplay::check(c.a4, c.a7), c.check)
            << (c.a4 ? *c.a4 : -99999) << " / " << (c.a7 ? *c.a7 : -99999);
    }
}

TEST(PhRemoteDisplayCheck, MessagesCarryTheirTitlesAndTexts)
{
    const struct
    {
        Check check;
        const char *title;
        const char *text;
    } cases[] = {
        {Check::Ph4OutOfRange, "pH4 ADC's wrong.", "Values for ADC counts for pH = 4 must be between 0 and 4096"},
        {Check::Ph7OutOfRange, "pH7 ADC's wrong.", "Values for ADC counts for pH = 7 must be between 0 and 4096"},
        {Check::Reversed, "pH4-7 ADC's reversed.", "Values for ADC counts for pH = 7 and pH 4 are reversed."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PhRemoteDisplay::message(c.check).title, c.title);
        EXPECT_EQ(PhRemoteDisplay::message(c.check).text, c.text);
    }
    EXPECT_EQ(PhRemoteDisplay::emptyBoxMessage().title, "Ph Data not entered");
    EXPECT_EQ(PhRemoteDisplay::emptyBoxMessage().text,
              "Use Default Perferct sensor is NOT checked, and No data is entered in Boxes.");
    EXPECT_EQ(PhRemoteDisplay::scanPeriodMessage().title, "RemDisp ScanInt");
    EXPECT_EQ(PhRemoteDisplay::scanPeriodMessage().text,
              "Remote Display function will not operate properly\r\nat scan intervals of less than 10 "
              "seconds.\r\n\r\nPlease Correct the specified Scan Interval if required.");
}

// The line passes through pH 4.01 at A4 and 7.00 at A7, kept as floats, and
// goes to the four lines as hexadecimal floating-point digits.
TEST(PhRemoteDisplayLine, CountsGiveTheLineAndItsDigits)
{
    const struct
    {
        qint16 a4, a7;
        float slope, offset;
        const char *slopeDigits;
        const char *offsetDigits;
    } cases[] = {
        {1000, 2000, 0.00299f, 1.02f, "424C8B43", "011A1CAC"},
        // An empty pH 4 box counts as 0: the offset is pH 4.01 itself.
        {0, 3000, float(2.99 / 3000), 4.01f, "43FF258B", "0166A7EF"},
        {1500, 3000, float(2.99 / 1500), 1.0200002f, "42330781", "011A1CAC"},
    };
    for (const auto &c : cases) {
        const PhRemoteDisplay::Line line = PhRemoteDisplay::fromCounts(c.a4, c.a7);
        EXPECT_EQ(line.slope, c.slope) << c.a4 << "/" << c.a7;
        EXPECT_FLOAT_EQ(line.offset, c.offset) << c.a4 << "/" << c.a7;
        EXPECT_NEAR(line.offset + line.slope * c.a4, 4.01, 1e-5);
        EXPECT_NEAR(line.offset + line.slope * c.a7, 7.00, 1e-5);
        const auto lines = PhRemoteDisplay::lines(line);
        const QString slope = QString::fromLatin1(c.slopeDigits);
        const QString offset = QString::fromLatin1(c.offsetDigits);
        EXPECT_EQ(lines[0].address, 0x0640);
        EXPECT_EQ(lines[0].digits, slope.left(4));
        EXPECT_EQ(lines[1].address, 0x0650);
        EXPECT_EQ(lines[1].digits, slope.mid(4));
        EXPECT_EQ(lines[2].address, 0x0660);
        EXPECT_EQ(lines[2].digits, offset.left(4));
        EXPECT_EQ(lines[3].address, 0x0670);
        EXPECT_EQ(lines[3].digits, offset.mid(4));
    }
}

TEST(PhRemoteDisplayLine, PerfectSensorTakesTheChannelsOwnSlopeAndOffset)
{
    ChannelCalRecord channel;
    channel.slope = {"+3.00000E-03", 0.003f};
    channel.offset = {"+1.00000E+00", 1.0f};
    const PhRemoteDisplay::Line line = PhRemoteDisplay::fromRecord(channel);
    EXPECT_EQ(line.slope, 0.003f);
    EXPECT_EQ(line.offset, 1.0f);
    const auto lines = PhRemoteDisplay::lines(line);
    EXPECT_EQ(lines[0].digits + lines[1].digits, fnFloatToHexFP(0.003f));
    EXPECT_EQ(lines[2].digits + lines[3].digits, "01199999");
}

TEST(PhRemoteDisplayLine, WrittenLineKeepsTwelveCharactersAndEndsWithTheDigits)
{
    EXPECT_EQ(PhRemoteDisplay::lineText("+2.99000E-03abcd", "424C"), "+2.99000E-03424C");
    EXPECT_EQ(PhRemoteDisplay::lineText("+2.99000E-03abcd", "424C").size(), 16);
}

TEST(PhRemoteDisplayWindowText, InstructionsAreJoinedAsShown)
{
    EXPECT_EQ(PhRemoteDisplay::instructions(),
              "For the Remote Display and Alarm functions to respond correctly,"
              "current calibration data for the installed pH sensor must be entered."
              "Otherwise the default calibration for a perfect sensor will be used.\r\n"
              "Either check the 'Use Perfect Sensor calibration' box,\r\n"
              "or enter the ADC Count values for pH 4.01 and 7.00 in the boxes below.");
}
