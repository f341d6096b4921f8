#include "tests/logger/InitBench.h"

#include "logger/DefaultCalibration.h"
#include "logger/FunctionsSubs.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {
const QString CrLf = QStringLiteral("\r\n");
} // namespace

TEST(LoggerInitializer, DefaultCalibrationWritesSixteenLinesForEachOfEightChannels)
{
    Connected c;
    InitBench &bench = c.bench;

    bench.init.subDefaultCal();

    const QString wire = bench.port.writtenText();
    QString expected;
    for (int channel = 1; channel <= 8; ++channel) {
        const QStringList lines = DefaultCalibration::lines(channel, true);
        for (int line = 0; line < 16; ++line)
            expected += textWrite(fnHex4((channel + 5) * 0x100 + line * 0x10), lines[line]);
    }
    EXPECT_EQ(wire, expected);
    EXPECT_EQ(bench.port.lettersWritten('d'), 128);
    EXPECT_EQ(bench.textAt(0x0600), "141541..Unknown.");
    EXPECT_EQ(bench.textAt(0x0630), "+5.00000E+03 mV ");
    EXPECT_EQ(bench.textAt(0x0660), "38353.000000xxxx");
    EXPECT_EQ(bench.textAt(0x0D10), "DegF+1.00000E+00");
    EXPECT_EQ(bench.textAt(0x0D20), "Ch 8+0.00000E+00");
    EXPECT_EQ(bench.textAt(0x0D90), "-5.00000E+01dum5");
    EXPECT_EQ(bench.textAt(0x0DA0), "+1.50000E+02dum6");
    EXPECT_EQ(bench.textAt(0x0DF0), "+4.09500E+03dumF");
    const ChannelCalRecord &ch8 = bench.connection.header.channel[7];
    EXPECT_EQ(ch8.location, "Ch 8");
    EXPECT_FLOAT_EQ(ch8.fsEuAt100.value, 150.0f);
    EXPECT_EQ(ch8.calDue, "2005/01/01");
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST(LoggerInitializer, FirstInitWritesTheFirstLiveBlock)
{
    Connected c;
    InitBench &bench = c.bench;
    const QString first = "000000000005000001007FFF08000000";

    bench.init.subFirstInit();

    EXPECT_EQ(bench.port.writtenText(),
              statusWrite("00") + hexWrite("0010", first) + hexWrite("0020", first)
                  + hexWrite("0000", "0000A503000000000000000008000000") + "a0000|" + "o|g|"
                  + "a0000|a0010|a0020|a0040|a0050|" + statusWrite("90"));
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_EQ(bench.lastReadCleared, 1);
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST(LoggerInitializer, FactoryHeaderIsWrittenInOrderThenReadBack)
{
    Connected c;
    InitBench &bench = c.bench;
    FactoryFields &f = bench.init.factory();
    f.batteryLimit = "7.0";
    f.rawSupplyLimit = "9.0";
    f.firstSettle = "100";
    f.secondSettle = "200";

    bench.init.subFactoryHeaderInit();

    const QString wire = bench.port.writtenText();
    QStringList written;
    static const QRegularExpression write(QStringLiteral("([db])([0-9A-F]{4})#"));
    for (auto m = write.globalMatch(wire); m.hasNext();) {
        const auto match = m.next();
        written << match.captured(1) + match.captured(2);
    }
    QStringList expected = {"d0200", "d0210", "d0220", "d0230", "b0050"};
    for (int a = 0x0240; a <= 0x02F0; a += 0x10)
        expected << "d" + fnHex4(a);
    for (int a = 0x0400; a <= 0x0490; a += 0x10)
        expected << "d" + fnHex4(a);
    for (int a = 0x0500; a <= 0x0560; a += 0x10)
        expected << "d" + fnHex4(a);
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(wire.startsWith(statusWrite("00") + "d0200#"));
    // Then the whole header is read again.
    const qsizetype lastWrite = wire.lastIndexOf("d0560#");
    EXPECT_TRUE(wire.mid(lastWrite).contains("|c0560|c0200|c0210|")) << wire.toStdString();

    const LoggerHeader &h = bench.connection.header;
    EXPECT_TRUE(h.headerValid);
    EXPECT_TRUE(h.factoryId.startsWith("UNlock:"));
    EXPECT_EQ(h.factoryId.size(), 16);
    EXPECT_EQ(h.initializedBy, "FactoryInt");
    EXPECT_EQ(h.scanPeriod, 60u);
    EXPECT_EQ(h.waitTime, 1u);
    EXPECT_EQ(h.scanCount, 65535u);
    EXPECT_EQ(h.description, "Factory Init 001Factory Init 002Factory Init 003Factory Init 004");
    EXPECT_EQ(h.clientInfo, "client info???  ");
    EXPECT_EQ(h.lastDownloadTime, QString(16, 'x'));
    EXPECT_EQ(bench.textAt(0x0250), "Manufactured in ");
    EXPECT_EQ(bench.textAt(0x0260), "PellworthCA USA ");
    EXPECT_EQ(bench.textAt(0x0270), "by KORVAN       ");
    EXPECT_EQ(bench.textAt(0x0410), "003C00000100FFFF");
    EXPECT_EQ(bench.hexAt(0x0050), "046C05DF000064FF0000C800740BB8FF");
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST(LoggerInitializer, TripLevelsRefusedWriteNothing)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.init.factory().referenceLow = "3.5";
    bench.dialogs.expect(LoggerInitializer::RefusedTitle);

    bench.init.cmdWriteTripLevels();

    EXPECT_EQ(bench.port.writtenText(), "");
    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    EXPECT_EQ(bench.dialogs.shown()[0].text,
              "The trip levels cannot be written:" + CrLf
                  + "the high reference is not above the low reference" + CrLf
                  + "Nothing was written to the logger. Correct the factory fields and try again.");
}

TEST(LoggerInitializer, TripLevelsWriteTheTripLineAndTheControllerLine)
{
    Connected c;
    InitBench &bench = c.bench;
    FactoryFields &f = bench.init.factory();
    f.batteryLimit = "7.0";
    f.rawSupplyLimit = "9.0";
    f.firstSettle = "100";
    f.secondSettle = "200";

    bench.init.cmdWriteTripLevels();

    // The references the live block gave (0.116 V and 3.000 V on this logger).
    EXPECT_EQ(bench.port.writtenText(),
              hexWrite("0050", "046C05DF000064FF0000C800740BB8FF")
                  + textWrite("02D0", "PIC18F8X0.25-40 "));
}

TEST(LoggerInitializer, DefaultCalibrationStopsWhenTheLoggerIsPulledOut)
{
    Connected c;
    InitBench &bench = c.bench;
    // Channel 3 holds a field calibration until the default one replaces it.
    const ChannelCalRecord channel3 = bench.connection.header.channel[2];
    ASSERT_NE(channel3.modelNumber, "141541..");
    bool pulled = false;
    bench.port.setWriteObserver([&] {
        if (!pulled && bench.port.writtenText().contains("d0800")) {
            pulled = true;
            bench.logger.unplug();
        }
    });
    bench.dialogs.expect("Default Calibration NOT Written");

    bench.init.subDefaultCal();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    EXPECT_EQ(bench.dialogs.shown()[0].text,
              "The logger stopped answering (at 0800)." + CrLf
                  + "The default calibration was NOT completely written." + CrLf
                  + "Reconnect the logger and write the default calibration again.");
    EXPECT_FALSE(bench.port.writtenText().contains("d0810"));
    EXPECT_EQ(bench.connection.header.channel[1].modelNumber, "141541..");
    EXPECT_EQ(bench.connection.header.channel[2].modelNumber, channel3.modelNumber);
}
