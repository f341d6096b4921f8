#include "sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

TEST(VirtualEventLoop, TimersFireInTimeOrderAndRepeat)
{
    VirtualEventLoop loop;
    std::vector<QString> fired;
    auto fast = loop.createTimer();
    fast->setIntervalMs(1000);
    fast->setHandler([&] { fired.push_back(QStringLiteral("fast@%1").arg(loop.elapsedSeconds())); });
    auto once = loop.createTimer();
    once->setIntervalMs(2500);
    once->setSingleShot(true);
    once->setHandler([&] { fired.push_back(QStringLiteral("once@%1").arg(loop.elapsedSeconds())); });
    fast->start();
    once->start();

    loop.advanceSeconds(3.0);

    EXPECT_EQ(fired, (std::vector<QString>{"fast@1", "fast@2", "once@2.5", "fast@3"}));
    EXPECT_FALSE(once->isActive());
    EXPECT_TRUE(fast->isActive());
}

TEST(VirtualEventLoop, StoppingInsideTheHandlerEndsTheTimer)
{
    VirtualEventLoop loop;
    int count = 0;
    auto timer = loop.createTimer();
    timer->setIntervalMs(100);
    timer->setHandler([&] {
        if (++count == 2)
            timer->stop();
    });
    timer->start();
    loop.advanceSeconds(10);
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(loop.hasPending());
}

TEST(VirtualEventLoop, WaitingWithNothingPendingIsReportedNotHung)
{
    VirtualEventLoop loop;
    EXPECT_THROW(loop.yield(), VirtualEventLoop::Stalled);
}

TEST(VirtualEventLoop, YieldUntilJumpsToTheDeadlineWhenNothingIsDue)
{
    VirtualEventLoop loop;
    bool ran = false;
    loop.scheduleAfter(5'000'000'000LL, [&] { ran = true; });
    loop.yieldUntil(2'000'000'000LL);
    EXPECT_FALSE(ran);
    EXPECT_EQ(loop.elapsedNs(), 2'000'000'000LL);
    loop.yieldUntil(9'000'000'000LL);
    EXPECT_TRUE(ran);
    EXPECT_EQ(loop.elapsedNs(), 5'000'000'000LL);
}

TEST(VirtualEventLoop, EndlessWaitHitsTheTimeLimit)
{
    VirtualEventLoop loop;
    loop.setTimeLimitNs(60'000'000'000LL);
    auto tick = loop.createTimer();
    tick->setIntervalMs(15000);
    tick->start();
    EXPECT_THROW(
        {
            for (;;)
                loop.yield();
        },
        VirtualEventLoop::Stalled);
}

TEST(VirtualEventLoop, ClockFollowsVirtualTimeAndCanBeSetOrRefused)
{
    VirtualEventLoop loop(QDateTime(QDate(2011, 9, 23), QTime(10, 0, 0)));
    loop.advanceSeconds(90);
    EXPECT_EQ(loop.now(), QDateTime(QDate(2011, 9, 23), QTime(10, 1, 30)));

    const QDateTime target(QDate(2020, 1, 2), QTime(3, 4, 5));
    QString error;
    ASSERT_TRUE(loop.setSystemDateTime(target, &error));
    EXPECT_EQ(loop.now(), target);

    loop.setClockSettable(false);
    EXPECT_FALSE(loop.setSystemDateTime(QDateTime(QDate(2030, 1, 1), QTime(0, 0)), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(loop.now(), target);
}
