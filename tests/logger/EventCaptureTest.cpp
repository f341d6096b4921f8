#include "logger/EventCapture.h"

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerPresets.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include "tests/support/TransportBench.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The Setup tab's selection as the main window keeps it: labels that can be
// toggled (channel 1 never off) and one monitor option.
struct Selection
{
    std::array<bool, 9> active{};
    int monitor = 0;
    int recomputed = 0;

    int highest() const
    {
        for (int channel = 8; channel >= 1; --channel)
            if (active[channel])
                return channel;
        return 0;
    }
};

// The program's capture on the simulated logger under virtual time, its
// Setup-tab selection kept in plain fields.
class CaptureBench : public VirtualLoopOwner, public TransportBench
{
public:
    explicit CaptureBench(const LoggerImage &image)
        : TransportBench(loop, image)
        , capture(connection.capture)
    {
        capture.setHooks({
            .status = [this] { return statusInputs; },
            .setup = {
                .wordsPerScan = [this] { return selection.highest() + (selection.monitor ? 2 : 0); },
                .isChannelActive = [this](int channel) { return selection.active[channel]; },
                .toggleChannel =
                    [this](int channel) {
                        selection.active[channel] = channel == 1 || !selection.active[channel];
                    },
                .selectMonitor = [this](int channel) { selection.monitor = channel; },
                .setNumberActiveChannels = [this] { ++selection.recomputed; },
            },
        });
    }

    // The header addresses the capture asked for, in order.
    QStringList addressesRead()
    {
        QStringList addresses;
        for (const QByteArray &command : port.takeWritten().split('\r'))
            if (command.startsWith('a'))
                addresses.append(QString::fromLatin1(command.mid(1, 4)));
        return addresses;
    }

    EventCapture &capture;
    EventCapture::StatusInputs statusInputs;
    Selection selection;
};

// A logger of channels 1-3 (3 words of 2 bytes a scan) whose event and data
// pointers stand where they are given.
LoggerImage withPointers(quint32 eventPointer, quint32 dataPointer, quint32 eventChannels = 3)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, VirtualEventLoop().now());
    LiveBlock::Event event = LiveBlock::event(image.header);
    event.channels = eventChannels;
    event.pointer = eventPointer;
    LiveBlock::setEvent(image.header, event);
    LiveBlock::Setup active = LiveBlock::setup(image.header, LiveBlock::ActiveLine);
    active.pointer = dataPointer;
    LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, active);
    return image;
}

// A logger that took 20 scans of channels 1-3 and noted an event at scan 16.
LoggerImage eventAtScan16()
{
    return withPointers(96, 120);
}

LoggerImage withPresetWait(quint32 wait)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
    LiveBlock::Setup preset = LiveBlock::setup(image.header, LiveBlock::PresetLine);
    preset.wait = wait;
    LiveBlock::setSetup(image.header, LiveBlock::PresetLine, preset);
    return image;
}

QString capturedAt(const VirtualEventLoop &loop)
{
    return loop.now().toString(QStringLiteral("yyyy MM dd hh:mm:ss"));
}

struct EventCase
{
    const char *name;
    quint8 status;
    quint32 eventChannels; // 0: the logger noted no event
    const char *eventLine; // after "Header Downloaded:," and the date
    const char *flagsLine;
};

void PrintTo(const EventCase &c, std::ostream *out)
{
    *out << c.name;
}

class EventLines : public testing::TestWithParam<EventCase>
{
};

TEST_P(EventLines, OpenTheDownloadWithTheEventAndTheFlagsInBitOrder)
{
    const EventCase &c = GetParam();
    CaptureBench bench(withPointers(96, 120, c.eventChannels));
    bench.selection.active = {false, true, true, true};
    bench.statusInputs = {c.status, QString::number(c.status, 16).toUpper().rightJustified(2, u'0')};
    const QString date = capturedAt(bench.loop);

    bench.capture.subReadPic();

    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_EQ(bench.capture.eventScanNumber(), c.eventChannels ? 16 : 0);
    EXPECT_EQ(bench.capture.currentScanNumber(), c.eventChannels ? 20 : 0);
    EXPECT_EQ(bench.capture.eventLines(),
              QStringLiteral("Header Downloaded:,") + date + QString::fromLatin1(c.eventLine)
                  + QStringLiteral("\r\n\r\nStatus Flags set at Download:,")
                  + QString::fromLatin1(c.flagsLine) + QStringLiteral("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, EventLines,
    testing::Values(
        EventCase{"NoEvent", 0x50, 0, ",",
                  "50 Logging Enabled --, All Scans Taken, normal end of test"},
        EventCase{"EventWithoutAlert", 0x14, 3, ",First event noted occured at scan number 16.",
                  "14 TimeBase Errorxx --, Logging Enabled --,"},
        EventCase{"BatteryAlert", 0x42, 3,
                  ",WARNING: A Status Event occured. First event noted occured at scan number 16.",
                  "42 Battery Low --, All Scans Taken, normal end of test"},
        EventCase{"SupplyAlert", 0x41, 3,
                  ",WARNING: A Status Event occured. First event noted occured at scan number 16.",
                  "41 Power (Vraw) --, All Scans Taken, normal end of test"},
        EventCase{"EveryFlag", 0x7F, 3,
                  ",WARNING: A Status Event occured. First event noted occured at scan number 16.",
                  "7F Power (Vraw) --, Battery Low --, TimeBase Errorxx --, EEProm Invalid --,"
                  " Logging Enabled --, Memory Full --, All Scans Taken, normal end of test"}),
    [](const testing::TestParamInfo<EventCase> &info) { return std::string(info.param.name); });

struct ScanCase
{
    const char *name;
    quint32 eventPointer;
    quint32 dataPointer;
    qint64 eventScan;
    qint64 currentScan;
    qint64 firstEventScan;
};

void PrintTo(const ScanCase &c, std::ostream *out)
{
    *out << c.name;
}

class ScanNumbers : public testing::TestWithParam<ScanCase>
{
};

// Three words of two bytes a scan: six bytes.
TEST_P(ScanNumbers, AreThePointersInWholeScansRoundedAsPrinted)
{
    const ScanCase &c = GetParam();
    CaptureBench bench(withPointers(c.eventPointer, c.dataPointer));
    bench.selection.active = {false, true, true, true};
    QStringList shown;
    QObject::connect(&bench.capture, &EventCapture::scanNumbersChanged,
                     [&](const QString &event, const QString &current) { shown = {event, current}; });

    bench.capture.subReadPic();

    EXPECT_EQ(bench.capture.eventScanNumber(), c.eventScan);
    EXPECT_EQ(bench.capture.currentScanNumber(), c.currentScan);
    EXPECT_EQ(shown, QStringList({QString::number(c.eventScan), QString::number(c.currentScan)}));
    EXPECT_EQ(bench.capture.firstEventScan(), c.firstEventScan);
    EXPECT_TRUE(bench.capture.eventLines().contains(
        QStringLiteral("First event noted occured at scan number %1.").arg(c.firstEventScan)));
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, ScanNumbers,
    testing::Values(ScanCase{"Exact", 96, 120, 16, 20, 16},
                    ScanCase{"TwoThirdsRoundUp", 100, 124, 17, 21, 17},
                    ScanCase{"HalfRoundsAwayFromZero", 99, 123, 17, 21, 17},
                    ScanCase{"UnderHalfRoundsDown", 98, 122, 16, 20, 16},
                    // Without an event pointer the first event is the scan reached.
                    ScanCase{"NoEventPointer", 0, 123, 0, 21, 21}),
    [](const testing::TestParamInfo<ScanCase> &info) { return std::string(info.param.name); });

TEST(ScanNumbers, ComeFromEachCapturesOwnLiveBlock)
{
    CaptureBench bench(eventAtScan16());
    bench.selection.active = {false, true, true, true};
    bench.capture.subReadPic();
    ASSERT_EQ(bench.capture.firstEventScan(), 16);

    // Another logger: its event at scan 7 of channels 1-2, four bytes a scan.
    LoggerImage other = withPointers(28, 40, 2);
    for (int channel = 0; channel < 8; ++channel)
        other.header[LiveBlock::ChannelLine + channel] = char(channel < 2 ? 0x40 : 0x00);
    bench.logger.loadImage(other);
    bench.capture.subReadPic();

    EXPECT_EQ(bench.selection.highest(), 2);
    EXPECT_EQ(bench.capture.eventScanNumber(), 7);
    EXPECT_EQ(bench.capture.currentScanNumber(), 10);
    EXPECT_TRUE(bench.capture.eventLines().contains(
        QStringLiteral(",First event noted occured at scan number 7.")));
}

TEST(EventScans, AboveTheActiveScansAreTheActiveScans)
{
    const struct
    {
        quint32 eventScans;
        quint32 activeScans;
        quint32 kept;
    } cases[] = {{500, 300, 300}, {300, 300, 300}, {200, 300, 200}};
    for (const auto &c : cases) {
        LoggerImage image = eventAtScan16();
        LiveBlock::Event event = LiveBlock::event(image.header);
        event.scans = c.eventScans;
        LiveBlock::setEvent(image.header, event);
        LiveBlock::Setup active = LiveBlock::setup(image.header, LiveBlock::ActiveLine);
        active.scans = c.activeScans;
        LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, active);
        CaptureBench bench(image);

        bench.capture.subReadPic();

        EXPECT_EQ(bench.capture.values().eventScans.value, c.kept) << c.eventScans;
        EXPECT_EQ(bench.capture.values().active.scans.value, c.activeScans) << c.eventScans;
    }
}

TEST(EventLines, StopBeforeAnyScanAfterTheEventIsAPauseNotATimeBaseFault)
{
    LoggerImage image = eventAtScan16();
    LiveBlock::Setup active = LiveBlock::setup(image.header, LiveBlock::ActiveLine);
    active.pointer = 96;
    LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, active);
    CaptureBench bench(image);
    bench.statusInputs = {0x04, QStringLiteral("04")};

    bench.capture.subReadPic();

    EXPECT_TRUE(bench.capture.eventLines().endsWith(
        QStringLiteral("Status Flags set at Download:,04Test Stopped/Paused -- ,\r\n")));
}

struct NoteCase
{
    quint32 wait;
    const char *note;
};

class FirstScanNote : public testing::TestWithParam<NoteCase>
{
};

TEST_P(FirstScanNote, TellsAStartDelayTheFirmwareCannotCount)
{
    CaptureBench bench(withPresetWait(GetParam().wait));
    bench.capture.subReadPic();
    EXPECT_EQ(bench.capture.firstScanNote(), QString::fromLatin1(GetParam().note));
}

INSTANTIATE_TEST_SUITE_P(Waits, FirstScanNote,
                         testing::Values(NoteCase{255, "NOTE: Normal First Scan, On Time!"},
                                         NoteCase{256, "NOTE: possible False First Scan, 4:15 early!"}),
                         [](const testing::TestParamInfo<NoteCase> &info) {
                             return "Wait" + std::to_string(info.param.wait);
                         });

TEST(LiveBlockValues, AreKeptAsReadAndAsNumbers)
{
    CaptureBench bench(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()));

    bench.capture.subReadPic();

    EXPECT_EQ(bench.addressesRead(),
              QStringList({"0000", "0010", "0020", "0040", "0050"}));
    const LiveBlockValues &v = bench.capture.values();
    EXPECT_EQ(v.eepromMarker.hex, QStringLiteral("A5"));
    EXPECT_EQ(v.preset.period.hex, QStringLiteral("003C"));
    EXPECT_EQ(v.preset.period.value, 60u);
    EXPECT_EQ(v.preset.scans.decimal(), QStringLiteral("3000"));
    EXPECT_EQ(v.preset.waits.value, 120u);
    EXPECT_EQ(v.preset.channels.value, 4u);
    EXPECT_EQ(v.active.scans.value, 0u);
    EXPECT_EQ(v.referenceLowMilliVolts.hex, QStringLiteral("0074"));
    EXPECT_EQ(v.referenceLowMilliVolts.value, 116u);
    EXPECT_EQ(v.referenceHighMilliVolts.value, 3000u);
    EXPECT_EQ(v.channelConfig.size(), 32);
}

TEST(ChannelSelection, FollowsTheLoggersConfiguration)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
    // Channels 1, 2, 5 active, monitor on channel 5.
    const quint8 config[8] = {0x40, 0x40, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00};
    for (int channel = 0; channel < 8; ++channel)
        image.header[LiveBlock::ChannelLine + channel] = char(config[channel]);
    image.header[LiveBlock::ChannelLine] = char(0x40 | 0x80 | 5);
    CaptureBench bench(image);
    bench.selection.active = {false, true, false, true, true};
    bench.selection.monitor = 0;

    bench.capture.subReadPic();

    EXPECT_EQ(bench.selection.monitor, 5);
    EXPECT_EQ(bench.selection.active, (std::array<bool, 9>{false, true, true, false, false, true}));
    EXPECT_EQ(bench.selection.recomputed, 1);
}

TEST(ChannelSelection, IsLeftAloneOnceAfterTheSetupWasWritten)
{
    CaptureBench bench(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()));
    bench.selection.active = {false, true, true};

    bench.capture.setSelectionJustWritten();
    bench.capture.subReadPic();
    EXPECT_EQ(bench.addressesRead(), QStringList({"0000", "0010", "0020", "0050"}));
    EXPECT_EQ(bench.selection.active, (std::array<bool, 9>{false, true, true}));

    bench.capture.subReadPic();
    EXPECT_EQ(bench.addressesRead(), QStringList({"0000", "0010", "0020", "0040", "0050"}));
    EXPECT_EQ(bench.selection.active, (std::array<bool, 9>{false, true, true, true, true}));
    EXPECT_EQ(bench.selection.monitor, 1);
}

TEST(FailedRead, KeepsThePreviousValuesAndLeavesTheAbortFlag)
{
    CaptureBench bench(eventAtScan16());
    bench.capture.subReadPic();
    ASSERT_EQ(bench.capture.values().eventPointer.value, 96u);

    LoggerImage changed = withPresetWait(200);
    LiveBlock::setEvent(changed.header, LiveBlock::Event{.channels = 3, .pointer = 300});
    bench.logger.loadImage(changed);
    bench.logger.faults().wrongChecksums(LineReader::Tries);
    bench.capture.subReadPic();

    EXPECT_TRUE(bench.state.commAbort);
    EXPECT_EQ(bench.capture.values().eventPointer.value, 96u);
    EXPECT_EQ(bench.capture.values().preset.waits.value, 200u);
}

} // namespace
