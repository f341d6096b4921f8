#include "sim/LoggerImageKeeper.h"
#include "tests/sim/SimWire.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray hexField(qint64 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// Line 0020 of a test that is running: period, no wait left, scans to go.
QByteArray activeLine(int period, int scans, int channels)
{
    return QByteArray::fromHex("0000" + hexField(0, 4) + hexField(period, 4) + hexField(0, 6)
                               + hexField(scans, 6) + hexField(channels, 2) + hexField(0, 6));
}

} // namespace

class LoggerImageKeeperTest : public ::testing::Test
{
protected:
    explicit LoggerImageKeeperTest(const LoggerImage &image = SimWire::minimalImage())
        : wire(image)
        , file(dir.filePath(QStringLiteral("demo/DemoLogger.img")))
        , keeper(wire.loop, wire.logger, file)
    {
    }

    // The image as a program started now would find it.
    LoggerImage onDisk() const
    {
        QString error;
        const std::optional<LoggerImage> image = LoggerImage::load(file, &error);
        EXPECT_TRUE(image) << error.toStdString();
        return image.value_or(LoggerImage());
    }

    QTemporaryDir dir;
    SimWire wire;
    QString file;
    LoggerImageKeeper keeper;
};

TEST_F(LoggerImageKeeperTest, AHeaderWriteIsOnDiskAsSoonAsItIsAnswered)
{
    EXPECT_FALSE(QFile::exists(file)) << "nothing changed yet";
    ASSERT_EQ(wire.write('d', "0E20#Kept on disk!!!!"), "d\r");
    EXPECT_EQ(onDisk().header.mid(0x0E20, 16), "Kept on disk!!!!");
    EXPECT_EQ(onDisk().header, wire.logger.image().header);
}

TEST_F(LoggerImageKeeperTest, DataAndStatusWritesAreKeptToo)
{
    wire.write('f', "000010#0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(onDisk().data.mid(0x10, 16).toHex().toUpper(), "0123456789ABCDEF0123456789ABCDEF");
    wire.write('q', "#84");
    EXPECT_EQ(onDisk().statusByte, 0x84);
}

TEST_F(LoggerImageKeeperTest, ReadsLeaveTheFileAlone)
{
    wire.write('d', "0E20#Kept on disk!!!!");
    ASSERT_TRUE(QFile::remove(file));
    wire.exchange('a', "0E20");
    wire.exchange('c', "0200");
    wire.exchange('e', "000000");
    wire.exchange('p');
    wire.wait(5);
    EXPECT_FALSE(QFile::exists(file)) << "only a change is written";
}

TEST_F(LoggerImageKeeperTest, ABurstOfWritesEndsWithTheLastOnDisk)
{
    for (int line = 0; line < 16; ++line)
        wire.write('d', "0E" + hexField(line, 1) + "0#" + QByteArray("burst line ") + hexField(line, 5));
    wire.wait(1);
    EXPECT_EQ(onDisk().header, wire.logger.image().header);
}

class KeeperOfARunningTest : public LoggerImageKeeperTest
{
protected:
    static LoggerImage logging()
    {
        LoggerImage image = SimWire::minimalImage(4, 64);
        image.header.replace(0x0020, 16, activeLine(10, 3, 2));
        image.statusByte = 0x10;
        return image;
    }

    KeeperOfARunningTest()
        : LoggerImageKeeperTest(logging())
    {
    }
};

TEST_F(KeeperOfARunningTest, ScansAndTheEndOfTheTestAreKeptWithoutACommand)
{
    wire.wait(15); // the first scan, on the logger's own clock
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(onDisk().header.mid(0x0020, 16), wire.logger.image().header.mid(0x0020, 16));
    EXPECT_NE(onDisk().data, SimWire::minimalImage(4, 64).data);

    wire.wait(30); // the last scan ends the test
    ASSERT_FALSE(wire.logger.isLogging());
    EXPECT_EQ(onDisk().statusByte, wire.logger.statusByte());
    EXPECT_EQ(onDisk().data, wire.logger.image().data);
}
