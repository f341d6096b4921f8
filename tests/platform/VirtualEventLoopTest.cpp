#include "sim/VirtualEventLoop.h"

#include <QStringList>

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

// Qt fires no timer inside its own timeout handler: a handler that waits
// sees none of its own ticks, and the ticks that fell due meanwhile are
// skipped, not piled up.
TEST(VirtualEventLoop, RepeatingTimerIsNotReenteredWhileItsHandlerWaits)
{
    VirtualEventLoop loop;
    auto other = loop.createTimer();
    other->setIntervalMs(100);
    int otherTicks = 0;
    other->setHandler([&] { ++otherTicks; });
    other->start();

    auto timer = loop.createTimer();
    timer->setIntervalMs(1000);
    int depth = 0;
    int maxDepth = 0;
    std::vector<double> entered;
    timer->setHandler([&] {
        maxDepth = std::max(maxDepth, ++depth);
        entered.push_back(loop.elapsedSeconds());
        if (entered.size() == 1) {
            bool abort = false;
            const qint64 until = loop.elapsedNs() + 3'500'000'000LL;
            while (!abort && loop.elapsedNs() < until)
                loop.yieldUntil(until);
        }
        --depth;
    });
    timer->start();
    loop.advanceSeconds(6);

    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(entered, (std::vector<double>{1, 5, 6})) << "ticks at 2, 3 and 4 s are skipped";
    EXPECT_GE(otherTicks, 59) << "other timers run while the handler waits";
}

TEST(VirtualEventLoop, SingleShotStartedAgainInsideItsHandlerFiresAfterTheHandler)
{
    VirtualEventLoop loop;
    auto timer = loop.createTimer();
    timer->setSingleShot(true);
    timer->setIntervalMs(10);
    std::vector<double> entered;
    bool inside = false;
    timer->setHandler([&] {
        EXPECT_FALSE(inside);
        inside = true;
        entered.push_back(loop.elapsedSeconds());
        if (entered.size() == 1) {
            timer->start();
            loop.advanceSeconds(1);
            EXPECT_EQ(entered.size(), 1u) << "not fired while its handler runs";
            EXPECT_TRUE(timer->isActive());
        }
        inside = false;
    });
    timer->start();
    loop.advanceSeconds(2);
    EXPECT_EQ(entered, (std::vector<double>{0.01, 1.01}));
}

TEST(VirtualEventLoop, PostedWorkRunsAfterTheRunningHandler)
{
    VirtualEventLoop loop;
    QStringList order;
    auto timer = loop.createTimer();
    timer->setSingleShot(true);
    timer->setHandler([&] {
        loop.post([&] { order << "posted"; });
        order << "handler";
    });
    timer->start();
    loop.advance(0);
    EXPECT_EQ(order, (QStringList{"handler", "posted"}));
}

// The limit counts from the test's last step, not from the loop's start, so
// a wait that never ends is caught however late in a long test it starts.
TEST(VirtualEventLoop, TimeLimitCountsFromTheLastAdvance)
{
    VirtualEventLoop loop;
    loop.setTimeLimitNs(60'000'000'000LL);
    auto tick = loop.createTimer();
    tick->setIntervalMs(15000);
    tick->start();
    loop.advanceSeconds(600); // a long test: well past the limit, legitimately
    EXPECT_THROW(
        {
            for (;;)
                loop.yield();
        },
        VirtualEventLoop::Stalled);
    EXPECT_LE(loop.elapsedSeconds(), 600 + 60 + 15);
}
