#include "tests/logger/HeaderBench.h"

#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"

#include <gtest/gtest.h>

namespace {

const QString OlderTitle = QStringLiteral("Software Version Error -- Using Z3 Logger with Z8 Sofware");
const QString ExperimentalTitle = QStringLiteral("X-Version Warning");
const QString ConfirmTitle = QStringLiteral("Confirm Serial Number");

LoggerImage preset(LoggerPreset which)
{
    return LoggerPresets::build(which, VirtualEventLoop().now());
}

QDateTime local(const QDateTime &t)
{
    return t.toLocalTime();
}

// The identity line 0210 of the finished logger with other firmware or
// channel count.
QString identityLine(const QString &firmware, QChar channels)
{
    return "0762" + firmware + "020000" + channels + "C";
}

} // namespace

TEST(HeaderReader, ReadsEveryFieldOfAFinishedTest)
{
    HeaderBench bench(preset(LoggerPreset::Finished));
    const QDateTime now = bench.loop.now();
    bench.reader.subReadHeader();

    const LoggerHeader &h = bench.header;
    EXPECT_TRUE(h.headerValid);
    EXPECT_EQ(h.modelVersion, "T410-8MC");
    EXPECT_EQ(h.serialNumber, "00041002");
    EXPECT_EQ(h.headerVersion, "0762");
    EXPECT_EQ(h.firmwareVersion, "Z823");
    EXPECT_EQ(h.installedChannels, 8);
    EXPECT_EQ(h.adResolution, 12);
    EXPECT_EQ(h.engineId, "ENG-Z8A ");
    EXPECT_EQ(h.sigConId, "SC-MC8  ");
    EXPECT_EQ(h.engineSn, "E0041002");
    EXPECT_EQ(h.sigConSn, "S0041002");
    EXPECT_EQ(h.factoryId, "UNlock:" + fnSerialText(fnDateToSerial(now.addDays(-400)), 3));
    EXPECT_EQ(h.clientInfo, "client info???  ");
    EXPECT_EQ(h.memoryChips, 1);
    EXPECT_EQ(h.memoryTypeCode, 3);
    EXPECT_EQ(h.chipBytes, 131072u);
    EXPECT_EQ(h.memoryInstalled, 131072u);
    EXPECT_EQ(h.memoryInstalledHex, "020000");
    EXPECT_EQ(h.controllerId, "PIC18F8X");
    EXPECT_FLOAT_EQ(h.tcoreSlope, 0.25f);
    EXPECT_FLOAT_EQ(h.tcoreOffset, -40.0f);

    // The test: 3000 scans of 60 s after a 120 s wait, ended two days ago.
    const QDateTime start = now.addDays(-2).addSecs(-3000 * 60);
    EXPECT_EQ(h.testPointer, 0u);
    EXPECT_EQ(h.initializedBy, "    TECH01");
    EXPECT_EQ(h.scanPeriod, 60u);
    EXPECT_EQ(h.waitTime, 120u);
    EXPECT_EQ(h.scanCount, 3000u);
    EXPECT_EQ(local(h.initDate), start);
    EXPECT_EQ(local(h.startDate), start);
    EXPECT_EQ(local(h.stopDate), now.addDays(-2));
    EXPECT_EQ(local(h.batteryDate), now.addDays(-400));
    EXPECT_EQ(h.batteryInits, 3u);
    EXPECT_EQ(h.totalInits, 17u);
    EXPECT_EQ(h.activeChannelCount, 4);
    EXPECT_EQ(h.initTimeZone.size(), 3);
    EXPECT_EQ(h.description, "Pump station 7: line pressure, pipe temperature, humidity, batte");
    EXPECT_EQ(h.initHeaderVersion, "0762");
    EXPECT_EQ(h.lastDownloadTime, QString(16, 'x'));
    EXPECT_EQ(h.lastDownloadFile, QString(32, 'x'));
    EXPECT_EQ(h.notes, "Pump station 7 survey.\r\nBattery replaced before this test.");
    EXPECT_TRUE(h.hiSpeedCapable);
    EXPECT_TRUE(bench.state.hiSpeedCapable);

    // Channel 1: the pressure transducer, 150 counts = 0 PSI, 3750 = 1000 PSI.
    const ChannelCalRecord &pressure = h.channel[0];
    EXPECT_EQ(pressure.modelNumber, "PX309-1K");
    EXPECT_EQ(pressure.serialNumber, "P1187342");
    EXPECT_EQ(pressure.engUnits, "PSI ");
    EXPECT_EQ(pressure.location, "PUMP");
    EXPECT_EQ(pressure.slope.text, "+2.77778E-01");
    EXPECT_FLOAT_EQ(pressure.slope.value, 0.277778f);
    EXPECT_EQ(pressure.sensitivity.text, "+2.77778E-01");
    EXPECT_EQ(pressure.offset.text, "-4.16667E+01");
    EXPECT_EQ(pressure.scExcitation.text, "+5.00000E+03");
    EXPECT_EQ(pressure.excitationUnits, " mV ");
    EXPECT_EQ(pressure.scOffset.text, "+0.00000E+00");
    EXPECT_EQ(pressure.scGain.text, "+1.00000E+00");
    EXPECT_EQ(pressure.calDue, start.addSecs(-120).date().addYears(1).toString("yyyy/MM/dd"));
    EXPECT_FLOAT_EQ(pressure.milliAt0.value, 150.0f);
    EXPECT_FLOAT_EQ(pressure.euAt0.value, 0.0f);
    EXPECT_FLOAT_EQ(pressure.fsEuAt0.value, 0.0f);
    EXPECT_FLOAT_EQ(pressure.milliAt100.value, 3750.0f);
    EXPECT_FLOAT_EQ(pressure.euAt100.value, 1000.0f);
    EXPECT_EQ(pressure.calType, 1);
    EXPECT_FLOAT_EQ(pressure.fsEuAt100.value, 1000.0f);
    EXPECT_FLOAT_EQ(pressure.excitation.value, 5000.0f);
    EXPECT_EQ(pressure.scOutputAt0.text, "-4.16667E+01");
    EXPECT_EQ(pressure.scOutputAt100.text, "+1.09583E+03");
    EXPECT_EQ(h.channel[3].engUnits, "Vbat");
    // Channels 5-8 keep the factory's default block.
    EXPECT_EQ(h.channel[6].modelNumber, "141541..");
    EXPECT_EQ(h.channel[6].location, "Ch 7");
    EXPECT_EQ(h.channel[7].calDue, "2005/01/01");
    EXPECT_FLOAT_EQ(h.channel[7].scOutputAt100.value, 4095.0f);

    // The raw lines: all but 0490 and 0510, then 16 per channel, as read.
    const QStringList lines = h.headerText.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 21 + 8 * 16);
    EXPECT_EQ(lines.first(), "c0200#T410-8MC00041002" + fnChecksum("0200#T410-8MC00041002"));
    EXPECT_TRUE(lines[17].startsWith("c0500#"));
    EXPECT_TRUE(lines.last().startsWith("c0DF0#"));
    EXPECT_TRUE(h.headerText.endsWith("\r\n"));

    EXPECT_EQ(bench.events, QStringList({"monitorFrame", "autoBaud", "csv:00041002", "loggerPresent"}));
    EXPECT_EQ(bench.messages, QStringList({"Downloading Logger Header Data",
                                           "Header Data Downloaded--Re-connect Logger to Update"}));
    EXPECT_EQ(bench.notesShown, QStringList({h.notes}));
    EXPECT_EQ(bench.channelLabels,
              QStringList({"1:PUMP", "2:PIPE", "3:ROOM", "4:BATT", "5:Ch 5", "6:Ch 6", "7:Ch 7", "8:Ch 8"}));
    EXPECT_EQ(bench.lastProgress, 0.0);
    EXPECT_EQ(bench.progressMaximum, 23 + 8 * 16 + 4);
    EXPECT_EQ(bench.reader.batteryLimits().limit, 7.0);
    EXPECT_EQ(bench.reader.batteryLimits().limitCopy, 7.0);
    EXPECT_DOUBLE_EQ(bench.reader.batteryLimits().upper, 8.05);
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_TRUE(bench.dialogs.shown().empty());
    // Nothing was written to the logger.
    EXPECT_FALSE(bench.port.writtenText().contains('d'));
}

TEST(HeaderReader, AnOlderSeriesLoggerEndsTheProgramAfterItsBox)
{
    HeaderBench bench(preset(LoggerPreset::Older));
    bench.header.modelVersion = "previous";
    bench.dialogs.expect(OlderTitle, Dialogs::Ok);
    bench.reader.subReadHeader();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const ScriptedDialogs::Box &box = bench.dialogs.shown().front();
    EXPECT_EQ(box.text,
              "          This software version is intended for use ONLY with Z8x Loggers!\r\n"
              "                          You have attached a Z3x series logger.\r\n\r\n"
              "               Please disconnect the logger, Click OK to close this version,\r\n"
              "                     and use version 630 to communicate with this logger.\r\n");
    EXPECT_EQ(box.buttons, Dialogs::OkOnly);
    EXPECT_EQ(box.icon, Dialogs::Critical);
    EXPECT_EQ(bench.events, QStringList({"endProgram"}));
    // Nothing beyond the identity was read, and nothing taken over.
    EXPECT_FALSE(bench.port.writtenText().contains("c0220"));
    EXPECT_EQ(bench.header.modelVersion, "previous");
    EXPECT_FALSE(bench.header.headerValid);
    EXPECT_FALSE(bench.state.hiSpeedCapable);
}

TEST(HeaderReader, SeriesDigitDecidesAndTheExperimentalWarningComesOnce)
{
    const struct
    {
        const char *firmware;
        bool older, experimental;
    } cases[] = {
        {"Z823", false, false}, {"Z523", false, false}, {"X823", false, true},
        {"z923", false, true},  {"Z341", true, false},  {"ZZ23", true, false},
        {"\xff\xff\xff\xff", true, false},
    };
    for (const auto &c : cases) {
        HeaderBench bench(preset(LoggerPreset::Finished));
        bench.setLine(0x0210, identityLine(QString::fromLatin1(c.firmware), u'2'));
        if (c.older)
            bench.dialogs.expect(OlderTitle);
        if (c.experimental)
            bench.dialogs.expect(ExperimentalTitle);
        bench.reader.subReadHeader();

        EXPECT_EQ(bench.dialogs.pendingExpectations(), 0) << c.firmware;
        EXPECT_EQ(bench.dialogs.shown().size(), c.older || c.experimental ? 1u : 0u) << c.firmware;
        EXPECT_EQ(bench.header.headerValid, !c.older) << c.firmware;
        EXPECT_EQ(bench.events.contains("endProgram"), c.older) << c.firmware;
        EXPECT_EQ(bench.events.contains("autoBaud"), !c.older) << c.firmware;
        if (c.experimental) {
            const ScriptedDialogs::Box &box = bench.dialogs.shown().front();
            EXPECT_EQ(box.text, "WARNING....This is an EXPERIMENTAL VERSION.\r\n\r\n      OK to continue");
            EXPECT_EQ(box.buttons, Dialogs::OkOnly);
        }
    }
}

TEST(HeaderReader, ReadsTheChannelBlocksTheLoggerHas)
{
    const struct
    {
        QChar stated;
        qint16 installed;
        int blocks;
    } cases[] = {{u'0', 0, 0}, {u'3', 3, 3}, {u'8', 8, 8}, {u'F', 15, 8}, {u' ', 0, 0}};
    for (const auto &c : cases) {
        HeaderBench bench(preset(LoggerPreset::Finished));
        bench.setLine(0x0210, identityLine("Z823", c.stated));
        bench.header.channel[c.blocks].location = "kept";
        bench.reader.subReadHeader();

        const QString wire = bench.port.writtenText();
        EXPECT_TRUE(bench.header.headerValid);
        EXPECT_EQ(bench.header.installedChannels, c.installed);
        EXPECT_EQ(wire.count("c0"), 21 + 2 + 16 * c.blocks + 16) << c.installed;
        for (int page = 6; page < 6 + c.blocks; ++page)
            EXPECT_TRUE(wire.contains("c0" + QString::number(page, 16).toUpper() + "F0"));
        // Past the blocks only the notes page (0E) is read.
        EXPECT_EQ(wire.contains("c0" + QString::number(6 + c.blocks, 16).toUpper() + "00"),
                  c.blocks == 8);
        EXPECT_FALSE(wire.contains("c0F"));
        EXPECT_EQ(bench.header.channel[c.blocks].location, "kept");
        EXPECT_EQ(bench.header.notes, "Pump station 7 survey.\r\nBattery replaced before this test.");
    }
}

TEST(HeaderReader, ErasedOrBlankMemoryReadsAsTheConversionsReadIt)
{
    for (const QChar fill : {QChar(0xFF), QChar(u' ')}) {
        HeaderBench bench(preset(LoggerPreset::Finished));
        for (int address = 0x0200; address < 0x1000; address += 16)
            bench.setLine(address, QString(16, fill));
        // A current-series logger stating eight channels, nothing else readable.
        bench.setLine(0x0210, "0762Z823" + QString(6, fill) + "8" + fill);
        bench.header.notes = "earlier notes";
        bench.reader.subReadHeader();

        const LoggerHeader &h = bench.header;
        EXPECT_TRUE(h.headerValid);
        EXPECT_EQ(h.serialNumber, QString(8, fill));
        EXPECT_EQ(h.installedChannels, 8);
        EXPECT_EQ(h.adResolution, 0);
        EXPECT_EQ(h.memoryChips, 0);
        EXPECT_EQ(h.memoryInstalled, 0u);
        EXPECT_EQ(h.scanPeriod, 0u);
        EXPECT_FALSE(h.startDate.isValid());
        EXPECT_FALSE(h.batteryDate.isValid());
        EXPECT_EQ(h.tcoreSlope, 0.0f);
        EXPECT_EQ(h.channel[7].slope.text, QString(12, fill));
        EXPECT_EQ(h.channel[7].slope.value, 0.0f);
        EXPECT_EQ(h.channel[0].calDue, "2010/01/01");
        EXPECT_EQ(h.notes, "earlier notes");
        EXPECT_FALSE(bench.port.writtenText().contains('d'));
    }
}
