#include "logger/RealTimeConversion.h"
#include "logger/RealTimeLine.h"

#include <gtest/gtest.h>

namespace {

// Three channels, as the logger sends them: "r", "k:CCC," each, "#" and a checksum.
const QString ThreeChannels = QStringLiteral("r1:000,2:7FF,3:FFF,#A1");

} // namespace

TEST(RealTimeLine, OnlyRAndLLinesLongEnoughForTheHighestChannelAreReadings)
{
    struct Case
    {
        QString line;
        int highest;
        bool reading;
    } cases[] = {
        {ThreeChannels, 3, true},
        {QStringLiteral("l1:000,2:7FF,3:FFF,#A1"), 3, true},
        {ThreeChannels, 4, false},                    // 22 characters, 4 channels need 28
        {ThreeChannels.left(21), 3, false},           // one short of 6 x 3 + 4
        {ThreeChannels.left(22), 3, true},
        {QStringLiteral("R#5DC,802,73A7C"), 1, false}, // the factory window's line
        {QStringLiteral("p#90F9"), 0, false},
        {QString(), 0, false},
        {QStringLiteral("r"), 1, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RealTimeLine::isReadingLine(c.line, c.highest), c.reading) << c.line.toStdString();
}

TEST(RealTimeLine, CountsStandAtSixTimesTheChannelPlusFour)
{
    const auto counts = RealTimeLine::counts(ThreeChannels, 3);
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[1], 0x7FF);
    EXPECT_EQ(counts[2], 4095);
}

TEST(RealTimeLine, BadFieldsHaveNoReadingAndTheLineIsReadAsFarAsItGoes)
{
    // Non-hexadecimal digits in channel 2, the line ends inside channel 4.
    const auto counts = RealTimeLine::counts(QStringLiteral("r1:0a3,2:0G1,3:123,4:1"), 5);
    ASSERT_EQ(counts.size(), 5u);
    EXPECT_EQ(counts[0], 0xA3);
    EXPECT_FALSE(counts[1].has_value());
    EXPECT_EQ(counts[2], 0x123);
    EXPECT_FALSE(counts[3].has_value());
    EXPECT_FALSE(counts[4].has_value());
}

TEST(RealTimeLine, ChannelsBeyondTheGridAreNotRead)
{
    const auto counts = RealTimeLine::counts(ThreeChannels, 2);
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[1], 0x7FF);
    EXPECT_TRUE(RealTimeLine::counts(ThreeChannels, 0).empty());
    EXPECT_TRUE(RealTimeLine::counts(ThreeChannels, -1).empty());
}

TEST(RealTimeConversion, EachModeHasItsValueAndFormat)
{
    RealTimeConversion::Calibration cal;
    cal.channelSlope = 2.5;
    cal.channelOffset = -10;
    cal.loggerSlope = 0.001;
    cal.loggerOffset = 0.1;
    struct Case
    {
        int count;
        DisplayMode mode;
        QString text;
    } cases[] = {
        {1234, DisplayMode::Counts, "1,234"},
        {1234, DisplayMode::EngineeringUnits, "3,075.00"},
        {1234, DisplayMode::TrueMillivolts, "1,334.0"},
        {2, DisplayMode::EngineeringUnits, "-5.00"},
        {4, DisplayMode::EngineeringUnits, "0.00"},
    };
    for (const Case &c : cases) {
        const double v = RealTimeConversion::value(c.count, c.mode, cal);
        EXPECT_EQ(RealTimeConversion::text(v, c.mode), c.text) << c.count;
    }
}

TEST(RealTimeConversion, GroupedNumbers)
{
    EXPECT_EQ(RealTimeConversion::grouped(1234567.891, 2), "1,234,567.89");
    EXPECT_EQ(RealTimeConversion::grouped(-1234.5, 1), "-1,234.5");
    EXPECT_EQ(RealTimeConversion::grouped(999, 0), "999");
    EXPECT_EQ(RealTimeConversion::grouped(0.7, 2), "0.70");
    EXPECT_EQ(RealTimeConversion::grouped(-0.001, 2), "0.00");
}

TEST(RealTimeConversion, ClipCountsHaveTheirTexts)
{
    EXPECT_EQ(RealTimeConversion::clipText(0), "LO-CLIP");
    EXPECT_EQ(RealTimeConversion::clipText(4095), "HI-CLIP");
    EXPECT_EQ(RealTimeConversion::clipText(1), "");
    EXPECT_EQ(RealTimeConversion::clipText(4094), "");
}
