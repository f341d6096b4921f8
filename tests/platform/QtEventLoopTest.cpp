#include "logger/FunctionsSubs.h"
#include "platform/qt/QtEventLoop.h"

#include <gtest/gtest.h>

// The real loop: waits end by their deadline, not before, and timers run
// while code waits.
TEST(QtEventLoop, WaitsRunTimersAndEndAtTheirDeadline)
{
    QtEventLoop loop;
    int ticks = 0;
    auto timer = loop.createTimer();
    timer->setIntervalMs(5);
    timer->setHandler([&] { ++ticks; });
    timer->start();

    const qint64 start = loop.elapsedNs();
    bool abort = false;
    subWait(loop, abort, 0.05f);
    EXPECT_GE(loop.elapsedNs() - start, 50'000'000);
    EXPECT_GT(ticks, 0);

    // A deadline shorter than Qt's timer resolution still ends on time.
    const qint64 deadline = loop.elapsedNs() + 300'000;
    loop.yieldUntil(deadline);
    EXPECT_GE(loop.elapsedNs(), deadline);
}

TEST(QtEventLoop, SingleShotTimerFiresOnce)
{
    QtEventLoop loop;
    int fired = 0;
    auto timer = loop.createTimer();
    timer->setIntervalMs(1);
    timer->setSingleShot(true);
    timer->setHandler([&] { ++fired; });
    timer->start();
    bool abort = false;
    subWait(loop, abort, 0.03f);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isActive());
}
