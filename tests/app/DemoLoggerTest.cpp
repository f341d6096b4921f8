#include "app/DemoLogger.h"
#include "app/DemoMenu.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/VirtualEventLoop.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DemoLogger, APresetIsOnDiskBeforeTheProgramEnds)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Demo/DemoLogger.img");
    VirtualEventLoop loop;
    DemoLogger demo(loop, file);
    QString error;
    ASSERT_TRUE(demo.start("fresh", loop.now(), &error)) << error.toStdString();
    loop.advanceSeconds(1);

    ASSERT_TRUE(QFile::exists(file)) << "a killed demo finds its logger again";
    const std::optional<LoggerImage> saved = LoggerImage::load(file, &error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(saved->header, demo.simulator().image().header);
}

TEST(DemoLogger, AnImageLoadedFromItsFileIsNotRewrittenUnchanged)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("DemoLogger.img");
    VirtualEventLoop loop;
    QString error;
    {
        DemoLogger first(loop, file);
        ASSERT_TRUE(first.start("finished", loop.now(), &error)) << error.toStdString();
        ASSERT_TRUE(first.saveImage(&error)) << error.toStdString();
    }
    DemoLogger second(loop, file);
    ASSERT_TRUE(second.start("", loop.now(), &error)) << error.toStdString();
    ASSERT_TRUE(QFile::remove(file));
    loop.advanceSeconds(1);
    EXPECT_FALSE(QFile::exists(file)) << "loading the image is no change to save";
}

TEST(DemoLogger, ALoggingDemoReopenedLaterHasTakenTheScansDueMeanwhile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("DemoLogger.img");
    const QDateTime closedAt(QDate(2011, 9, 23), QTime(10, 0, 0));
    QString error;
    quint32 pointerThen = 0;
    {
        VirtualEventLoop loop(closedAt);
        DemoLogger demo(loop, file);
        ASSERT_TRUE(demo.start("logging", loop.now(), &error)) << error.toStdString();
        ASSERT_TRUE(demo.saveImage(&error)) << error.toStdString();
        pointerThen = LiveBlock::setup(demo.simulator().image().header, LiveBlock::ActiveLine).pointer;
    }
    // Reopened an hour later: 360 scans of 10 s each, three channels.
    VirtualEventLoop loop(closedAt.addSecs(3600));
    DemoLogger demo(loop, file);
    ASSERT_TRUE(demo.start("", loop.now(), &error)) << error.toStdString();
    const quint32 pointerNow = LiveBlock::setup(demo.simulator().image().header, LiveBlock::ActiveLine).pointer;
    EXPECT_EQ(pointerNow - pointerThen, 360u * 3 * 2);

    // What it caught up is on disk soon, with the clock it has now.
    loop.advanceSeconds(1);
    const std::optional<LoggerImage> saved = LoggerImage::load(file, &error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(saved->data, demo.simulator().image().data);
    EXPECT_GE(saved->clock, loop.now().addSecs(-1));
    ASSERT_TRUE(saved->schedule);
    EXPECT_GT(saved->schedule->nextScan, saved->clock);
}

// The Demo menu's reading actions, for the Real Time tab by hand.
TEST(DemoLogger, MenuClipsReadingsAndChangesTheFirmware)
{
    QTemporaryDir dir;
    VirtualEventLoop loop;
    DemoLogger demo(loop, dir.filePath("DemoLogger.img"));
    QString error;
    ASSERT_TRUE(demo.start("logging", loop.now(), &error)) << error.toStdString();
    QMainWindow window;
    DemoMenu::add(window, demo);
    auto trigger = [&window](const char *name) {
        QAction *action = window.findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };
    trigger("mnuDemoClipLow");
    trigger("mnuDemoClipHigh");
    const ChannelSignals::Sample sample = demo.simulator().inputs().nextSample(0);
    EXPECT_EQ(demo.simulator().inputs().count(1, sample), 0);
    EXPECT_EQ(demo.simulator().inputs().count(2, sample), 4095);
    trigger("mnuDemoRelease");
    EXPECT_NE(demo.simulator().inputs().count(1, demo.simulator().inputs().nextSample(1000)), 0);

    trigger("mnuDemoFirmwareZ820");
    EXPECT_EQ(demo.simulator().image().header.mid(0x0214, 4), "Z820");
    EXPECT_TRUE(demo.simulator().isLogging()) << "the test goes on";
}
