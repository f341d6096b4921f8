#include "logger/SetupCalculations.h"

#include <gtest/gtest.h>
#include <limits>

using namespace SetupCalculations;

TEST(SetupCalculations, ScanPeriodRangesPerUnit)
{
    struct Case
    {
        Unit unit;
        double value;
        PeriodCheck expected;
    };
    const double huge = 1e300;
    const Case cases[] = {
        {Unit::Hours, 18.2, PeriodCheck::Accepted},
        {Unit::Hours, 18.21, PeriodCheck::HoursTooLarge},
        {Unit::Hours, 0.1, PeriodCheck::Accepted},
        {Unit::Hours, 0.09, PeriodCheck::HoursTooSmall},
        {Unit::Hours, 0, PeriodCheck::HoursTooSmall},
        {Unit::Hours, -1, PeriodCheck::HoursTooSmall},
        {Unit::Hours, huge, PeriodCheck::HoursTooLarge},
        {Unit::Minutes, 0.1, PeriodCheck::Accepted},
        {Unit::Minutes, 1092, PeriodCheck::Accepted},
        {Unit::Minutes, 1092.5, PeriodCheck::MinutesOutOfRange},
        {Unit::Minutes, 0.09, PeriodCheck::MinutesOutOfRange},
        {Unit::Minutes, -5, PeriodCheck::MinutesOutOfRange},
        {Unit::Minutes, huge, PeriodCheck::MinutesOutOfRange},
        {Unit::Secs, 1, PeriodCheck::Accepted},
        {Unit::Secs, 3600, PeriodCheck::Accepted},
        {Unit::Secs, 3601, PeriodCheck::SecsOutOfRange},
        {Unit::Secs, 0.5, PeriodCheck::SecsOutOfRange},
        {Unit::Secs, 0, PeriodCheck::SecsOutOfRange},
        {Unit::Secs, -huge, PeriodCheck::SecsOutOfRange},
    };
    for (const Case &c : cases)
        EXPECT_EQ(checkPeriod(c.unit, c.value), c.expected) << int(c.unit) << " " << c.value;
}

TEST(SetupCalculations, MaxScansFromMemoryChannelsMonitorAndCalibrationScans)
{
    struct Case
    {
        const char *what;
        MemoryLayout layout;
        qint32 expected;
    };
    const Case cases[] = {
        {"channels 1-4, no monitor", {32768, 4, 2, false, 0}, 4095},
        {"channels 1-4 and a monitor", {32768, 4, 2, true, 0}, 2730},
        {"highest channel 3 divides by 3", {32768, 3, 2, false, 0}, 5460},
        {"calibration scans every 10", {32768, 4, 2, false, 10}, 2919},
        {"no memory size: 32768", {0, 4, 2, false, 0}, 4095},
        {"negative memory size: 32768", {-5, 4, 2, false, 0}, 4095},
        {"no channel: channel 1", {32768, 0, 2, false, 0}, 16383},
        {"no bytes per reading: 2", {32768, 4, 0, false, 0}, 4095},
        {"halves round to even, down", {7, 1, 2, false, 0}, 2},
        {"halves round to even, up", {9, 1, 2, false, 0}, 4},
        {"a few bytes fit no scan", {1, 1, 2, false, 0}, 0},
        {"calibration scans never make it negative", {8, 1, 2, false, 255}, 0},
        {"the largest memory", {std::numeric_limits<qint32>::max(), 1, 2, false, 0}, 1073741822},
    };
    for (const Case &c : cases)
        EXPECT_EQ(maxScans(c.layout), c.expected) << c.what;
}

TEST(SetupCalculations, CalibrationIntervalFieldIsRoundedAndKeptWithin0To255)
{
    const std::pair<const char *, qint32> cases[] = {
        {"10", 10}, {"", 0}, {"0", 0}, {"-5", 0}, {"abc", 0}, {"1,5", 0}, {"10.5", 10},
        {"11.5", 12}, {"255", 255}, {"256", 255}, {"1e300", 255}, {" 7 ", 7}, {"nan", 0},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(calIntervalFrom(text), expected) << text;
    EXPECT_EQ(calIntervalText("10"), "0010");
    EXPECT_EQ(calIntervalText("255"), "0255");
    EXPECT_EQ(calIntervalText("0"), "0000");
}

TEST(SetupCalculations, LoggingDurationPerUnitWithItsCapOnMaxScans)
{
    struct Case
    {
        const char *what;
        Unit unit;
        double value;
        qint32 scans;
        Duration expected;
    };
    const Case cases[] = {
        {"seconds", Unit::Secs, 60, 4095, {4095, 60, 245700}},
        {"fractional seconds round half to even", Unit::Secs, 2.5, 100, {100, 2, 250}},
        {"seconds at the cap", Unit::Secs, 1, 86000000, {86000000, 1, 86000000}},
        {"seconds beyond the cap", Unit::Secs, 1, 86000001, {10, 1, 10}},
        {"minutes", Unit::Minutes, 1, 4095, {4095, 60, 245700}},
        {"a tenth of a minute", Unit::Minutes, 0.1, 10, {10, 6, 60}},
        {"minutes below the cap", Unit::Minutes, 1, 3931999, {3931999, 60, 235919940}},
        {"minutes at the cap", Unit::Minutes, 1, 3932000, {10, 60, 600}},
        {"hours", Unit::Hours, 18.2, 100, {100, 65520, 6552000}},
        {"hours below the cap", Unit::Hours, 1, 65499, {65499, 3600, 235796400}},
        {"hours at the cap", Unit::Hours, 1, 65500, {10, 3600, 36000}},
        {"no unit: duration kept, no period", Unit::None, 5, 100, {100, 0, 1234}},
    };
    for (const Case &c : cases) {
        const Duration d = loggingDuration(c.unit, c.value, c.scans, 1234);
        EXPECT_EQ(d.maxScans, c.expected.maxScans) << c.what;
        EXPECT_EQ(d.periodSeconds, c.expected.periodSeconds) << c.what;
        EXPECT_DOUBLE_EQ(d.durationSeconds, c.expected.durationSeconds) << c.what;
    }
}

TEST(SetupCalculations, DayTimeForm)
{
    const std::pair<qint64, const char *> cases[] = {
        {3600, "0:01:00:00 (D:H:M:S)"},
        {90061, "1:01:01:01 (D:H:M:S)"},
        {0, "0:00:00:00 (D:H:M:S)"},
        {86399, "0:23:59:59 (D:H:M:S)"},
        {86400LL * 1000, "1000:00:00:00 (D:H:M:S)"},
    };
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(dayTimeText(seconds), text) << seconds;
}

TEST(SetupCalculations, DurationMessageShowsTheTrueFigureBeyond32Bits)
{
    EXPECT_EQ(durationMessage(16383, 60), "16383 Max Scans - Max Duration is 11:09:03:00 (D:H:M:S)");
    // 65,499 scans of 18.2 hours: 4,291,494,480 seconds, past what 32 bits hold.
    EXPECT_EQ(durationMessage(65499, 65520),
              "65499 Max Scans - Max Duration is 49670:01:48:00 (D:H:M:S)");
    EXPECT_EQ(durationMessage(0, 60), "0 Max Scans - Max Duration is 0:00:00:00 (D:H:M:S)");
}
