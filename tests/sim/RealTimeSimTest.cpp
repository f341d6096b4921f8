#include "logger/RealTimeLine.h"
#include "sim/LoggerPresets.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

// What the real-time display needs of the simulated logger: firmware
// versions that ask before a reading is taken during a test, and the clip
// counts on demand.
TEST(RealTimeSim, FirmwareVersionCanBeChosen)
{
    for (const QByteArray version : {"Z820", "Z812", "Z805"}) {
        LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, QDateTime(QDate(2024, 3, 14), QTime(9, 0)));
        LoggerPresets::setFirmwareVersion(image, version);
        SimWire wire(image);
        const QByteArray line = wire.exchange('a', "0210");
        // "a0210#" then the header version's 8 digits, then the firmware's.
        EXPECT_EQ(QByteArray::fromHex(line.mid(6 + 8, 8)), version) << line.constData();
    }
}

TEST(RealTimeSim, ForcedCountsGiveTheClipReadings)
{
    SimWire wire(SimWire::minimalImage(4));
    wire.logger.inputs().force(1, 0);
    wire.logger.inputs().force(3, 4095);
    const QByteArray reply = wire.exchange('r');
    const QString line = QString::fromLatin1(reply).trimmed();
    ASSERT_TRUE(RealTimeLine::isReadingLine(line, 4)) << reply.constData();
    const auto counts = RealTimeLine::counts(line, 4);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[2], 4095);
    ASSERT_TRUE(counts[1].has_value());
    EXPECT_GT(*counts[1], 0);
    EXPECT_LT(*counts[1], 4095);
}
