#include "calibration/CalComputation.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// The window's design-time boxes with the example of two points 0 and 4000.
CalBoxes example()
{
    CalBoxes b;
    b[7] = QStringLiteral("0");
    b[8] = QStringLiteral("0");
    b[9] = QStringLiteral("0");
    b[10] = QStringLiteral("1000");
    b[11] = QStringLiteral("4000");
    b[12] = QStringLiteral("4000");
    b[13] = QStringLiteral("4000");
    b[16] = QStringLiteral("1000");
    b[17] = QStringLiteral("0");
    b[18] = QStringLiteral("1");
    return b;
}

struct Computed
{
    CalBoxes boxes;
    float sensitivity = 0.0f;
    CalComputation::State state;
    CalComputation::Result result;
};

Computed compute(CalBoxes boxes, float sensitivity = 0.0f, CalComputation::State state = {})
{
    Computed c{std::move(boxes), sensitivity, state, {}};
    c.result = CalComputation::compute(c.boxes, c.sensitivity, c.state);
    return c;
}

} // namespace

TEST(CalComputationTest, TwoPointsGiveSlopeOffsetAndOutputs)
{
    const Computed c = compute(example());
    EXPECT_EQ(c.boxes[19], QStringLiteral("1"));
    EXPECT_EQ(c.boxes[20], QStringLiteral("0"));
    EXPECT_EQ(c.boxes[21], QStringLiteral("0"));
    EXPECT_EQ(c.boxes[22], QStringLiteral("4095"));
    EXPECT_EQ(c.boxes[23], QStringLiteral("1"));
    EXPECT_FLOAT_EQ(c.state.computedSlope, 1.0f);
    EXPECT_FALSE(c.result.clipsLow);
    EXPECT_FALSE(c.result.clipsHigh);

    // A full scale below what count 0 gives cannot be recorded.
    CalBoxes low = example();
    low[9] = QStringLiteral("-10");
    EXPECT_TRUE(compute(low).result.clipsLow);
    CalBoxes high = example();
    high[13] = QStringLiteral("5000");
    EXPECT_TRUE(compute(high).result.clipsHigh);
}

// A pressure sensor: 4-20 mA style readings with a gain and an offset.
TEST(CalComputationTest, ConditionerScalesTheReadings)
{
    CalBoxes b = example();
    b[7] = QStringLiteral("10");    // reading at A, at 500 uA
    b[11] = QStringLiteral("90");   // reading at B
    b[10] = QStringLiteral("500");
    b[8] = QStringLiteral("0");
    b[12] = QStringLiteral("100");  // PSI
    b[18] = QStringLiteral("20");
    b[17] = QStringLiteral("100");
    // cA = 10 * 1000 * 20 / 500 + 100 = 500, cB = 3700
    const Computed c = compute(b);
    EXPECT_EQ(c.boxes[19], QStringLiteral("0.03125"));
    EXPECT_EQ(c.boxes[20], QStringLiteral("-15.625"));
    EXPECT_EQ(c.boxes[21], QStringLiteral("-15.625"));
    EXPECT_EQ(c.boxes[22], QStringLiteral("112.34375"));
    EXPECT_EQ(c.boxes[23], QStringLiteral("0.03125"));
}

TEST(CalComputationTest, DegenerateInputsDivideByNothing)
{
    // Excitation 0: both outputs 0, slope and sensitivity 0, offset the value at A.
    CalBoxes zero = example();
    zero[10] = QStringLiteral("0");
    zero[8] = QStringLiteral("12.5");
    Computed c = compute(zero, 7.0f, {3.0f, 4.0f});
    EXPECT_EQ(c.boxes[19], QStringLiteral("0"));
    EXPECT_EQ(c.boxes[20], QStringLiteral("12.5"));
    EXPECT_EQ(c.boxes[21], QStringLiteral("12.5"));
    EXPECT_EQ(c.boxes[22], QStringLiteral("12.5"));
    EXPECT_EQ(c.sensitivity, 0.0f);

    // Points A and B alike.
    CalBoxes same = example();
    same[11] = same[7];
    c = compute(same, 7.0f);
    EXPECT_EQ(c.sensitivity, 0.0f);
    EXPECT_EQ(c.state.computedSlope, 0.0f);
}

// A step that cannot give a float is skipped: its result keeps its value.
TEST(CalComputationTest, FailedStepsKeepTheirPreviousResults)
{
    CalBoxes notNumber = example();
    notNumber[12] = QStringLiteral("4000 PSI");
    Computed c = compute(notNumber, 7.0f, {3.0f, 4.0f});
    EXPECT_EQ(c.sensitivity, 7.0f);
    EXPECT_EQ(c.boxes[19], QStringLiteral("3"));
    // The offset step still runs with the old slope: 0 - 3 x 0.
    EXPECT_EQ(c.boxes[20], QStringLiteral("0"));

    CalBoxes overflow = example();
    overflow[12] = QStringLiteral("1e300");
    c = compute(overflow, 7.0f, {3.0f, 4.0f});
    EXPECT_EQ(c.sensitivity, 7.0f);
    EXPECT_EQ(c.state.computedSlope, 3.0f);

    // Readings beyond the float range: the conditioner output stays 0.
    CalBoxes huge = example();
    huge[11] = QStringLiteral("1e40");
    c = compute(huge, 7.0f, {3.0f, 4.0f});
    EXPECT_EQ(c.sensitivity, 0.0f);
    EXPECT_TRUE(std::isfinite(c.state.computedOffset));
}
