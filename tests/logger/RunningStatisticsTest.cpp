#include "logger/RunningStatistics.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(RunningStatistics, OneTwoThree)
{
    RunningStatistics s;
    for (double x : {1.0, 2.0, 3.0})
        s.add(x);
    EXPECT_EQ(s.count(), 3);
    EXPECT_DOUBLE_EQ(s.average(), 2.0);
    EXPECT_DOUBLE_EQ(s.maxDeviation(), 2.0);
    EXPECT_DOUBLE_EQ(s.variance(), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(s.threeSigma(), 3.0 * std::sqrt(2.0 / 3.0));
}

TEST(RunningStatistics, ResetStartsFromNothing)
{
    RunningStatistics s;
    s.add(5);
    s.reset();
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.maximum(), RunningStatistics::NoMaximum);
    EXPECT_EQ(s.minimum(), RunningStatistics::NoMinimum);
    EXPECT_EQ(s.threeSigma(), 0.0);
    s.add(7);
    EXPECT_EQ(s.average(), 7.0);
    EXPECT_EQ(s.maxDeviation(), 0.0);
}

// Large steady readings with small noise: the sum of squares minus the
// squared average times the count loses the variance entirely here.
TEST(RunningStatistics, LargeSteadyReadingsKeepTheirSmallSpread)
{
    RunningStatistics s;
    const double base = 1e9;
    for (int i = 0; i < 100000; ++i)
        s.add(base + (i % 2 == 0 ? 0.01 : -0.01));
    EXPECT_NEAR(s.average(), base, 1e-6);
    EXPECT_NEAR(s.variance(), 1e-4, 1e-8);
    EXPECT_NEAR(s.threeSigma(), 0.03, 1e-6);
}

TEST(RunningStatistics, AMillionReadingsStayFiniteAndRight)
{
    RunningStatistics s;
    // Counts 0..4095 in turn, as a sawtooth: mean 2047.5, variance (4096^2-1)/12.
    for (int i = 0; i < 4096 * 256; ++i)
        s.add(i % 4096);
    EXPECT_EQ(s.count(), 4096 * 256);
    EXPECT_NEAR(s.average(), 2047.5, 1e-6);
    EXPECT_NEAR(s.variance(), (4096.0 * 4096.0 - 1.0) / 12.0, 1e-3);
    EXPECT_TRUE(std::isfinite(s.threeSigma()));
}

TEST(RunningStatistics, NonFiniteReadingsAreNotTaken)
{
    RunningStatistics s;
    s.add(1);
    s.add(std::numeric_limits<double>::infinity());
    s.add(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(s.count(), 1);
    EXPECT_TRUE(std::isfinite(s.threeSigma()));
}
