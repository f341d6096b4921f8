#include "app/DemoLogger.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/VirtualEventLoop.h"

#include <QFile>
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
