#include "tests/logger/InitBench.h"

#include "logger/FunctionsSubs.h"
#include "logger/InitLines.h"
#include "platform/StartupSettings.h"
#include "sim/HeaderWriter.h"
#include "sim/LiveBlock.h"
#include "sim/LoggingEngine.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Seventy = QStringLiteral("Pump station 7: line pressure, pipe temperature, humidity; "
                                       "shift B test");

// Monitor channel 3, channels 1-4, 100 scans of 10 s after 20 s.
TestSetup pumpTest(const QDateTime &now, int timeZone)
{
    TestSetup s;
    for (int c = 0; c < 4; ++c)
        s.channelSelect[size_t(c)] = TestSetup::Active;
    s.highestChannel = 4;
    s.monitorChannel = 3;
    s.periodSeconds = 10;
    s.waitSeconds = 20;
    s.scans = 100;
    s.stopTime = now.addSecs(20 + 100 * 10);
    s.calInterval = 7;
    s.projectIdent = Seventy;
    s.timeZoneOffset = timeZone;
    return s;
}

const QString PumpSetup = QStringLiteral("00000007000A00001400006404000000");
const QString PumpChannels = QStringLiteral("C3404040000000000000000000000000");

QString closingLines()
{
    return "Please disconnect the logger," + CrLf + "check for first blink to verify logging," + CrLf
           + "then reconnect the logger to update the " + CrLf + "display with the new information."
           + CrLf + "Finally, verify that the settings are correct." + CrLf;
}

LoggerImage withHeaderVersion(const QString &version)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
    HeaderWriter(image.header).text(0x0210, version + "Z8230200008C");
    return image;
}

} // namespace

class InitWire : public testing::TestWithParam<std::pair<int, QString>>
{
};

TEST_P(InitWire, WritesEveryLineInOrderAndStartsTheTest)
{
    const auto &[timeZone, zoneText] = GetParam();
    Connected c;
    InitBench &bench = c.bench;
    const TestSetup setup = pumpTest(bench.loop.now(), timeZone);
    bench.init.setSetup(setup);
    const QDateTime before = bench.loop.now();

    bench.init.subInitLogger();

    const QDateTime after = bench.loop.now();
    // The planned start, as the logger now holds it in 0420 and 0430.
    const QString start = bench.textAt(0x0420).left(12);
    const QDateTime startTime = fnSerialTextToDate(start);
    EXPECT_GE(startTime, before.addSecs(20).addSecs(-1));
    EXPECT_LE(startTime, after.addSecs(20));
    EXPECT_EQ(bench.textAt(0x0430).left(12), start);

    const QString expected = "s|p|p|" + statusWrite("00") + "p|"
        + textWrite("0210", "0762Z8230200008C") + textWrite("0400", "000000    TECH01")
        + textWrite("0450", Seventy.mid(0, 16)) + textWrite("0460", Seventy.mid(16, 16))
        + textWrite("0470", Seventy.mid(32, 16)) + textWrite("0480", Seventy.mid(48, 16))
        + textWrite("0490", "0762++++++++++++")
        + textWrite("0440", fnDateToSerialText(setup.stopTime) + "4" + zoneText)
        + textWrite("0540", QString(16, 'x')) + textWrite("0550", QString(16, 'x'))
        + textWrite("0560", QString(16, 'x')) + textWrite("0420", start + "0004")
        + textWrite("0430", start + "0012") + textWrite("0410", "000A000014000064")
        + hexWrite("0010", PumpSetup) + "a0010|" + hexWrite("0020", PumpSetup) + "a0020|"
        + hexWrite("0040", PumpChannels) + "a0040|"
        + hexWrite("0000", "0000A503000000000000000004000000") + "l|p|" + statusWrite("90");
    EXPECT_EQ(bench.port.writtenText(), expected);

    EXPECT_TRUE(bench.dialogs.shown().empty());
    EXPECT_EQ(bench.messages, QStringList{closingLines()});
    EXPECT_EQ(bench.progress, 1);
    EXPECT_EQ(bench.lastDownloadCleared, 1);
    EXPECT_EQ(bench.initTimes, QStringList{startTime.toString("yyyy/MM/dd-hh:mm:ss")});
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_EQ(bench.textAt(0x0440).right(3), zoneText);
    const LoggerHeader &h = bench.connection.header;
    EXPECT_EQ(h.headerVersion, "0762");
    EXPECT_EQ(h.batteryInits, 4u);
    EXPECT_EQ(h.totalInits, 18u);
    EXPECT_EQ(h.initTimeZone, zoneText);
    EXPECT_EQ(h.description, Seventy.left(64));
}

INSTANTIATE_TEST_SUITE_P(TimeZones, InitWire,
                         testing::Values(std::pair<int, QString>{0, "+00"},
                                         std::pair<int, QString>{-7, "-07"}));

TEST(LoggerInitializer, AfterReconnectingTheLoggerRunsTheWrittenTest)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), -7));
    bench.init.subInitLogger();

    bench.logger.unplug();
    bench.loop.advanceSeconds(10);
    bench.logger.plugIn();
    bench.loop.advanceSeconds(30);

    const LoggerHeader &h = bench.connection.header;
    ASSERT_TRUE(h.headerValid);
    EXPECT_EQ(h.scanPeriod, 10u);
    EXPECT_EQ(h.waitTime, 20u);
    EXPECT_EQ(h.scanCount, 100u);
    EXPECT_EQ(h.activeChannelCount, 4);
    EXPECT_EQ(h.initTimeZone, "-07");
    EXPECT_EQ(h.description, Seventy.left(64));
    EXPECT_EQ(h.initializedBy, "    TECH01");
    EXPECT_TRUE(bench.logger.isLogging());

    const QByteArray image = bench.logger.image().header;
    EXPECT_EQ(LiveBlock::monitorChannel(image), 3);
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_EQ(LiveBlock::channelActive(image, channel), channel <= 4) << channel;
    const LiveBlock::Setup running = LiveBlock::setup(image, LiveBlock::ActiveLine);
    EXPECT_EQ(running.period, 10u);
    EXPECT_EQ(running.channels, 4u);

    // To its end: every scan holds four channels and the monitor's maximum
    // and minimum, 12 bytes.
    bench.loop.advanceSeconds(20 + 100 * 10 + 60);
    const QByteArray done = bench.logger.image().header;
    EXPECT_FALSE(bench.logger.isLogging());
    EXPECT_TRUE(bench.logger.statusByte() & LoggingEngine::TestDone);
    EXPECT_EQ(LiveBlock::setup(done, LiveBlock::ActiveLine).scans, 0u);
    const quint32 bytes = LiveBlock::setup(done, LiveBlock::ActiveLine).pointer;
    EXPECT_EQ(bytes % 12, 0u);
    // The scans counted off, plus the wake-up scan taken when logging starts.
    EXPECT_EQ(bytes / 12, 101u);
}

TEST(LoggerInitializer, StopQuestionNoLeavesTheLoggerLogging)
{
    Connected c(LoggerPreset::Logging);
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bench.dialogs.expect("Stop for Initialization?", Dialogs::No);

    bench.init.subInitLogger();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const auto &box = bench.dialogs.shown().front();
    EXPECT_EQ(box.text, "Do you really want to stop, then initialize the logger?");
    EXPECT_EQ(box.buttons, int(Dialogs::YesNo));
    EXPECT_EQ(box.icon, int(Dialogs::Question));
    EXPECT_EQ(box.defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_EQ(bench.dialogs.beeps(), 1);
    EXPECT_EQ(bench.port.writtenText(), "");
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_FALSE(bench.dialogs.busy());
}

TEST(LoggerInitializer, StopQuestionYesStopsThenStartsTheNewTest)
{
    Connected c(LoggerPreset::Logging);
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bench.dialogs.expect("Stop for Initialization?", Dialogs::Yes);

    bench.init.subInitLogger();

    const QString wire = bench.port.writtenText();
    EXPECT_TRUE(wire.startsWith("s|p|p|m|q#")) << wire.toStdString();
    EXPECT_TRUE(wire.contains(hexWrite("0040", PumpChannels)));
    EXPECT_TRUE(wire.endsWith(statusWrite("90")));
    EXPECT_EQ(bench.hexAt(0x0010), PumpSetup);
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_EQ(bench.messages, QStringList{closingLines()});
}

TEST(LoggerInitializer, HeaderVersionWarningCancelWritesNothing)
{
    InitBench bench(withHeaderVersion("0761"));
    bench.connect();
    bench.port.forget();
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bench.dialogs.expect("Critical Warning! Change in Header Version", Dialogs::Cancel);

    bench.init.subInitLogger();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const auto &box = bench.dialogs.shown().front();
    EXPECT_EQ(box.text,
              "This logger was previously initialized using version: 0761.\r"
              "The Header Version supported by this software is:    0762.\r"
              "\r"
              "If you continue to initialize the logger with this version, \r"
              "    the header format will be changed to the new version \r"
              "\r"
              "You MUST use this (or newer) software that supports this \r"
              "    new header version when performing future data downloads.\r"
              "\r"
              "Do you want to continue the initialization?(OK is recommended)");
    EXPECT_EQ(box.buttons, int(Dialogs::OkCancel));
    EXPECT_EQ(box.icon, int(Dialogs::Critical));
    EXPECT_EQ(box.defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_EQ(bench.port.writtenText(), "");
    EXPECT_EQ(bench.textAt(0x0210).left(4), "0761");
}

TEST(LoggerInitializer, HeaderVersionWarningOkWritesTheNewVersion)
{
    InitBench bench(withHeaderVersion("0761"));
    bench.connect();
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bench.dialogs.expect("Critical Warning! Change in Header Version", Dialogs::Ok);

    bench.init.subInitLogger();

    EXPECT_EQ(bench.textAt(0x0210), "0762Z8230200008C");
    EXPECT_TRUE(bench.logger.isLogging());
}

// The link gives up part-way: the logger pulled out, or a logger that no
// longer echoes (every try exhausted).
class InitLinkLost : public testing::TestWithParam<bool>
{
};

TEST_P(InitLinkLost, StopsWithoutStartingAndSaysTheLoggerWasNotInitialized)
{
    const bool unplug = GetParam();
    Connected c;
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bool injected = false;
    bench.port.setWriteObserver([&] {
        if (injected || !bench.port.writtenText().contains("d0440"))
            return;
        injected = true;
        if (unplug)
            bench.logger.unplug();
        else
            bench.logger.faults().dropEchoes(SimFaults::Forever);
    });
    bench.dialogs.expect(LoggerInitializer::NotInitializedTitle);

    bench.init.subInitLogger();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const auto &box = bench.dialogs.shown().front();
    EXPECT_EQ(box.text, "The logger stopped answering (at 0440)." + CrLf
                            + "The logger was NOT initialized: logging was not enabled and its "
                              "header may be half written."
                            + CrLf + "Reconnect the logger and initialize it again.");
    EXPECT_EQ(box.icon, int(Dialogs::Critical));
    const QString wire = bench.port.writtenText();
    EXPECT_FALSE(wire.contains("d0540")) << wire.toStdString();
    EXPECT_FALSE(wire.contains("b0")) << wire.toStdString();
    EXPECT_FALSE(wire.contains("q#90")) << wire.toStdString();
    EXPECT_FALSE(bench.logger.isLogging());
    EXPECT_FALSE(bench.connection.header.headerValid);
    EXPECT_EQ(bench.messages, QStringList{LoggerInitializer::NotInitializedTitle});
    EXPECT_FALSE(bench.dialogs.busy());
}

INSTANTIATE_TEST_SUITE_P(Unplugged_Or_Silent, InitLinkLost, testing::Values(true, false));

TEST(LoggerInitializer, AVerifyMismatchIsReportedAndTheInitializationGoesOn)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    const QString kept = bench.hexAt(0x0040);
    bench.logger.faults().forgetHeaderWrites(0x0040);
    bench.dialogs.expect("Header Write Verify Failure in SubSendMessage", Dialogs::Cancel);
    bench.dialogs.expect(StartupSettings::App, Dialogs::Ok);

    bench.init.subInitLogger();

    ASSERT_EQ(bench.dialogs.shown().size(), 2u);
    const auto &box = bench.dialogs.shown()[1];
    EXPECT_EQ(box.text, "INIT Confirmation ERROR! at 0040:" + CrLf + PumpChannels + CrLf + kept);
    EXPECT_EQ(box.buttons, int(Dialogs::OkOnly));
    EXPECT_TRUE(bench.port.writtenText().endsWith("l|p|" + statusWrite("90")));
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_EQ(bench.messages, QStringList{closingLines()});
}

TEST(LoggerInitializer, FactoryFieldsThatCannotGiveTheIdentityLineWriteNothing)
{
    struct Case { std::function<void(FactoryFields &)> spoil; QString reason; };
    const Case cases[] = {
        {[](FactoryFields &f) { f.adResolution = 10; }, "A/D resolution is 10, must be 12"},
        {[](FactoryFields &f) { f.installedChannels = 12; }, "installed channels is 12, must be 1 to 8"},
        {[](FactoryFields &f) { f.startPointer = "12AB"; },
         "the start pointer \"12AB\" is not 6 hexadecimal digits"},
    };
    for (const Case &k : cases) {
        Connected c;
        InitBench &bench = c.bench;
        bench.init.setSetup(pumpTest(bench.loop.now(), 0));
        k.spoil(bench.init.factory());
        bench.dialogs.expect(LoggerInitializer::RefusedTitle);

        bench.init.subInitLogger();

        ASSERT_EQ(bench.dialogs.shown().size(), 1u);
        EXPECT_EQ(bench.dialogs.shown()[0].text,
                  "The logger cannot be initialized:" + CrLf + k.reason + CrLf
                      + "Nothing was written to the logger. Correct the factory fields and try again.");
        EXPECT_EQ(bench.port.writtenText(), "");
        EXPECT_EQ(bench.textAt(0x0210), "0762Z8230200008C");
    }
}

TEST(LoggerInitializer, AStatusByteThatDoesNotClearIsReportedAndTheInitializationGoesOn)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    // The logger answers the read after the clear with the EEPROM-invalid bit
    // still set.
    bool spoiled = false;
    bench.port.setWriteObserver([&] {
        if (spoiled || !bench.port.writtenText().endsWith(statusWrite("00") + "p"))
            return;
        spoiled = true;
        LoggerImage image = bench.logger.image();
        image.statusByte = 0x08;
        bench.logger.loadImage(image);
    });
    bench.dialogs.expect("Init SB Error= 8");

    bench.init.subInitLogger();

    ASSERT_TRUE(spoiled);
    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const auto &box = bench.dialogs.shown().front();
    EXPECT_EQ(box.text, "Status byte not cleared successfully." + CrLf
                            + "This may indicate a dead battery at time of Initialization of a test.");
    EXPECT_EQ(box.icon, int(Dialogs::Information));
    EXPECT_EQ(box.buttons, int(Dialogs::OkOnly));
    EXPECT_TRUE(bench.port.writtenText().endsWith("l|p|" + statusWrite("90")));
    EXPECT_EQ(bench.messages, QStringList{closingLines()});
}

TEST(LoggerInitializer, AnOlderSeriesLoggerIsStartedBySoftReset)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.connection.header.hiSpeedCapable = false;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));

    bench.init.subInitLogger();

    EXPECT_TRUE(bench.port.writtenText().endsWith(
        hexWrite("0000", "0000A503000000000000000004000000") + "o|g|" + statusWrite("90")));
    EXPECT_TRUE(bench.logger.isLogging());
}

// A lost logger abandons the sequence that talks to it, and the link's boxes
// fall silent; that the logger was left uninitialized is still told.
TEST(LoggerInitializer, AnAbandonedInitializationStillSaysTheLoggerWasNotInitialized)
{
    Connected c;
    InitBench &bench = c.bench;
    bench.init.setSetup(pumpTest(bench.loop.now(), 0));
    bench.port.setWriteObserver([&] {
        if (!bench.state.abandoned && bench.port.writtenText().endsWith(textWrite("0490", "0762++++++++++++")))
            bench.state.abandoned = true;
    });
    bench.dialogs.expect(LoggerInitializer::NotInitializedTitle);

    bench.init.subInitLogger();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    EXPECT_TRUE(bench.dialogs.shown()[0].text.startsWith("The logger stopped answering (at 0490)."));
    EXPECT_TRUE(bench.port.writtenText().endsWith(textWrite("0490", "0762++++++++++++")));
    EXPECT_FALSE(bench.logger.isLogging());
}
