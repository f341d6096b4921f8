#include "sim/LoggerPresets.h"
#include "tests/link/StatusByteBench.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Colour = IndicatorColour;

LoggerImage runningTest(quint8 statusByte)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, VirtualEventLoop().now());
    image.statusByte = statusByte;
    return image;
}

// What the windows would show, as the signals tell them.
struct Shown
{
    std::map<int, std::pair<Colour, QString>> bits;
    QString testStatus;
    std::optional<Colour> testStatusColour;
    QString alert;
    std::optional<Colour> alertBackground;
    QString statusLine;
    QString statusByte;
    std::optional<bool> loggingBox;
    std::optional<bool> dumpBox;
    std::optional<bool> loPowerEnabled;
};

// Connects like the windows do: the boxes' click handlers are wired back, so
// a box ticked by the decode that sent anything would show on the wire.
void follow(StatusByteCommands &sb, Shown &shown)
{
    QObject::connect(&sb, &StatusByteCommands::statusBitChanged,
                     [&](int bit, Colour colour, const QString &caption) {
                         shown.bits[bit] = {colour, caption};
                     });
    QObject::connect(&sb, &StatusByteCommands::testStatusChanged,
                     [&](const QString &text, std::optional<Colour> colour) {
                         shown.testStatus = text;
                         shown.testStatusColour = colour;
                     });
    QObject::connect(&sb, &StatusByteCommands::alertLabelChanged,
                     [&](const QString &text, std::optional<Colour> background) {
                         shown.alert = text;
                         shown.alertBackground = background;
                     });
    QObject::connect(&sb, &StatusByteCommands::statusLineChanged,
                     [&](const QString &text) { shown.statusLine = text; });
    QObject::connect(&sb, &StatusByteCommands::statusByteShown,
                     [&](const QString &text) { shown.statusByte = text; });
    QObject::connect(&sb, &StatusByteCommands::loPowerStopEnabled,
                     [&](bool on) { shown.loPowerEnabled = on; });
    QObject::connect(&sb, &StatusByteCommands::loggingBoxTicked, [&](bool ticked) {
        shown.loggingBox = ticked;
        sb.chkEnableLoggingClicked(ticked);
    });
    QObject::connect(&sb, &StatusByteCommands::dumpBoxTicked, [&](bool ticked) {
        shown.dumpBox = ticked;
        sb.chkEnableDumpClicked(ticked);
    });
}

struct ReadCase
{
    quint8 status;
    const char *testStatus;
    Colour testStatusColour;
    bool dumpTicked;
    const char *statusLine;
    const char *downloadStatus;
};

class StatusByteRead : public testing::TestWithParam<ReadCase>
{
};

TEST_P(StatusByteRead, ShowsTheByteAndTicksTheBoxesWithoutSending)
{
    const ReadCase &c = GetParam();
    StatusByteBench bench(runningTest(c.status));
    Shown shown;
    follow(bench.statusByte, shown);

    bench.statusByte.subSBRead();

    EXPECT_EQ(bench.wire(), QByteArray("p|"));
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_EQ(shown.bits[4], std::make_pair(Colour::Orange, QStringLiteral("Logging ON")));
    EXPECT_EQ(shown.bits[7], c.dumpTicked ? std::make_pair(Colour::Orange, QStringLiteral("Dump ON"))
                                          : std::make_pair(Colour::DarkGreen, QStringLiteral("Dump OFF")));
    EXPECT_EQ(shown.testStatus, QString::fromLatin1(c.testStatus));
    EXPECT_EQ(shown.testStatusColour, c.testStatusColour);
    EXPECT_EQ(shown.loggingBox, true);
    EXPECT_EQ(shown.dumpBox, c.dumpTicked);
    EXPECT_EQ(shown.loPowerEnabled, true);
    EXPECT_EQ(shown.statusLine, QString::fromLatin1(c.statusLine));
    EXPECT_EQ(shown.statusByte, QString::number(c.status, 16).toUpper());
    EXPECT_EQ(bench.statusByte.downloadStatusText(), QString::fromLatin1(c.downloadStatus));
    EXPECT_TRUE(shown.alert.isEmpty());
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Examples, StatusByteRead,
    testing::Values(ReadCase{0x90, "Logging Enabled", Colour::Green, true, "_LogEN_DumpEN",
                             "End of test status:,Hex:,90_LogEN_DumpEN,"},
                    ReadCase{0x50, "Test Done", Colour::Yellow, false, "_LogEN_LogDone",
                             "End of test status:,Hex:,50_LogEN_LogDone,"}),
    [](const testing::TestParamInfo<ReadCase> &info) {
        return "Status" + QString::number(info.param.status, 16).toUpper().toStdString();
    });

TEST(StatusByteRead, AlertsCarryTheByteAndScanOfThePreviousRead)
{
    StatusByteBench bench(runningTest(0x13));
    bench.statusByte.setHooks({.scanPointers = [] {
        StatusByteCommands::ScanPointers p;
        p.currentPointer = 120; // 3 channels: 6 bytes a scan
        p.eventPointer = 96;
        p.wordsPerScan = 3;
        return p;
    }});
    Shown shown;
    follow(bench.statusByte, shown);

    bench.statusByte.subSBRead();
    EXPECT_EQ(shown.alert, QStringLiteral("Power(Vraw)-LO -- Low-Battery -- "));
    EXPECT_EQ(shown.alertBackground, Colour::Red);
    EXPECT_EQ(bench.statusByte.scanNumber(), 16);
    EXPECT_EQ(bench.statusByte.currentScanNumber(), 20);

    bench.statusByte.subSBRead();
    EXPECT_EQ(shown.alert, QStringLiteral("13 StatusByte@Scan: 16 -- Power(Vraw)-LO -- Low-Battery -- "));
    EXPECT_EQ(shown.statusLine, QStringLiteral("_VrawLO_VBatLO_LogEN"));
}

TEST(StatusByteRead, ScanNumbersAreRoundedToWholeScansAsPrinted)
{
    StatusByteBench bench(runningTest(0x13));
    bench.statusByte.setHooks({.scanPointers = [] {
        StatusByteCommands::ScanPointers p;
        p.currentPointer = 123; // 20.5 scans of 6 bytes
        p.eventPointer = 100; // 16.67 scans
        p.wordsPerScan = 3;
        return p;
    }});
    QStringList shown;
    QObject::connect(&bench.statusByte, &StatusByteCommands::scanNumbersChanged,
                     [&](const QString &current, const QString &event) { shown = {current, event}; });

    bench.statusByte.subSBRead();

    EXPECT_EQ(shown, QStringList({"21", "17"}));
    EXPECT_EQ(bench.statusByte.scanNumber(), 17);
}

TEST(StatusByteRead, WrongChecksumStillDecodesButAborts)
{
    StatusByteBench bench(runningTest(0x90));
    Shown shown;
    follow(bench.statusByte, shown);
    bench.logger.faults().wrongChecksums(1);

    bench.statusByte.subSBRead();

    EXPECT_TRUE(bench.state.commAbort);
    EXPECT_EQ(bench.status.text(), QStringLiteral("CRC Error on status byte line read"));
    EXPECT_EQ(bench.dialogs.beeps(), 1);
    EXPECT_EQ(shown.testStatus, QStringLiteral("Logging Enabled"));
    EXPECT_TRUE(bench.statusByte.loggingActive());
}

TEST(StatusByteRead, NoAnswerLeavesCommAbortSet)
{
    StatusByteBench bench(runningTest(0x90));
    bench.logger.unplug();

    bench.statusByte.subSBRead();

    EXPECT_TRUE(bench.state.commAbort);
    EXPECT_FALSE(bench.statusByte.loggingActive());
}

struct StopCase
{
    quint8 before;
    QByteArray wire;
    quint8 after;
    int captures;
};

class StatusByteStop : public testing::TestWithParam<StopCase>
{
};

TEST_P(StatusByteStop, StopsOnlyARunningTest)
{
    const StopCase &c = GetParam();
    StatusByteBench bench(runningTest(c.before));
    int captures = 0;
    bench.statusByte.setHooks({.captureEvents = [&] { ++captures; }});
    Shown shown;
    follow(bench.statusByte, shown);

    bench.statusByte.subDisableLogging();

    EXPECT_EQ(bench.wire(), c.wire);
    EXPECT_EQ(bench.logger.statusByte(), c.after);
    EXPECT_FALSE(bench.logger.isLogging());
    EXPECT_EQ(captures, c.captures);
    EXPECT_EQ(shown.loPowerEnabled, false);
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, StatusByteStop,
    testing::Values(StopCase{0x90, "s|p|p|m|q#0487|", 0x04, 1},
                    StopCase{0x04, "s|p|p|", 0x04, 0}),
    [](const testing::TestParamInfo<StopCase> &info) {
        return "Status" + QString::number(info.param.before, 16).toUpper().rightJustified(2, u'0').toStdString();
    });

TEST(StatusByteWrite, ValueGoesOutAsTwoDigitsWithChecksum)
{
    StatusByteBench bench(runningTest(0x97));
    bench.statusByte.subSBRead();
    bench.wire();

    bench.statusByte.subSBWrite(0x3F);
    EXPECT_EQ(bench.wire(), QByteArray("q#3F9C|"));
    bench.statusByte.subSBClear();
    EXPECT_EQ(bench.wire(), QByteArray("q#0083|"));
    // A reset clears the alarms but leaves logging and dump as they were read.
    bench.statusByte.subSBReset();
    EXPECT_EQ(bench.wire(), QByteArray("q#908C|"));
}

TEST(StatusByteDisplay, ClearingUnlightsBitsOneToSeven)
{
    StatusByteBench bench(runningTest(0x90));
    std::vector<int> cleared;
    QObject::connect(&bench.statusByte, &StatusByteCommands::statusBitCleared,
                     [&](int bit) { cleared.push_back(bit); });
    bench.statusByte.subSBClearDisplay();
    EXPECT_EQ(cleared, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(bench.wire().isEmpty());
}

TEST(ControlCommands, LedBoxesSwitchTheLedsAndSoftResetPutsThemOut)
{
    StatusByteBench bench(LoggerPresets::build(LoggerPreset::Fresh, VirtualEventLoop().now()));
    StatusByteCommands &sb = bench.statusByte;

    sb.chkLed2Clicked(true);
    sb.chkLed3Clicked(true);
    EXPECT_EQ(bench.wire(), QByteArray("h#2|h#3|"));
    EXPECT_TRUE(bench.logger.ledOn(2) && bench.logger.ledOn(3));
    sb.chkLed3Clicked(false);
    EXPECT_EQ(bench.wire(), QByteArray("i#3|"));
    EXPECT_FALSE(bench.logger.ledOn(3));

    sb.subSoftReset();
    EXPECT_EQ(bench.wire(), QByteArray("o|g|"));
    EXPECT_FALSE(bench.logger.ledOn(2));
}

TEST(ControlCommands, LoggingAndDumpBoxesSendAndReadBack)
{
    StatusByteBench bench(runningTest(0x04));
    StatusByteCommands &sb = bench.statusByte;
    Shown shown;
    follow(sb, shown);

    sb.chkEnableLoggingClicked(true);
    EXPECT_EQ(bench.wire(), QByteArray("l|p|"));
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_TRUE(sb.loggingActive());
    EXPECT_EQ(shown.loggingBox, true);

    sb.chkEnableDumpClicked(true);
    EXPECT_EQ(bench.wire(), QByteArray("t|p|"));
    EXPECT_TRUE(bench.logger.statusByte() & 0x80);
    EXPECT_EQ(shown.dumpBox, true);

    sb.chkEnableDumpClicked(false);
    EXPECT_EQ(bench.wire(), QByteArray("s|p|"));
    EXPECT_FALSE(bench.logger.statusByte() & 0x80);
    EXPECT_EQ(shown.dumpBox, false);
    EXPECT_FALSE(bench.state.commAbort);
}

} // namespace

// A stop whose "m" the logger never echoes is reported, and the status byte
// is still written.
TEST(StatusByteStopFailure, UnansweredStopIsReported)
{
    StatusByteBench bench(runningTest(0x90));
    bench.port.setWriteObserver([&] {
        if (bench.port.writtenText() == "s|p|p|")
            bench.logger.faults().dropEchoes(CommandTransport::Attempts);
    });
    bench.dialogs.expect("subDisableLogging, /m/ write error");

    bench.statusByte.subDisableLogging();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    EXPECT_EQ(bench.dialogs.shown()[0].text, "subDisableLogging /m/ command write error stop logging");
    EXPECT_EQ(bench.dialogs.shown()[0].icon, Dialogs::Critical);
    EXPECT_EQ(bench.wire(), QByteArray("s|p|p|mmmq#0487|"));
}
