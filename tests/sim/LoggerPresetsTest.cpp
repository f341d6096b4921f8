#include "logger/FunctionsSubs.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerPresets.h"
#include "tests/sim/SimWire.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const QDateTime Now(QDate(2024, 3, 14), QTime(15, 9, 26));
constexpr LoggerPreset AllPresets[] = {LoggerPreset::Fresh,      LoggerPreset::Finished,
                                       LoggerPreset::Logging,    LoggerPreset::Downloaded,
                                       LoggerPreset::Older,      LoggerPreset::Ph,
                                       LoggerPreset::OldHeader};

// Reads header fields the way the program's header read takes them apart.
struct Header
{
    const LoggerImage &image;

    QString text(int address, int offset = 0, int width = 16) const
    {
        return QString::fromLatin1(image.header.mid(address + offset, width));
    }
    quint32 hex(int address, int offset, int width) const
    {
        return fnHexToLong(text(address, offset, width));
    }
    QDateTime date(int address) const { return fnSerialTextToDate(text(address, 0, 12)); }
    int installedChannels() const { return int(hex(0x0210, 14, 1)); }
    LiveBlock::Setup active() const { return LiveBlock::setup(image.header, LiveBlock::ActiveLine); }
    LiveBlock::Setup preset() const { return LiveBlock::setup(image.header, LiveBlock::PresetLine); }
    bool initializedForTest() const { return text(0x0400, 6, 10) != "FactoryInt"; }
};

// Data memory from 0 to the pointer, taken apart into scans of tagged words.
struct Recording
{
    QList<QList<int>> scans; // counts by tag, monitor max and min last
    QList<int> scansBeforeStatus;
    QList<quint32> statusAddresses;
    QList<quint8> statusBytes;
    QString problem;
};

Recording parse(const QByteArray &data, quint32 pointer, int channels, bool monitor)
{
    Recording r;
    const int words = channels + (monitor ? 2 : 0);
    QList<int> scan;
    for (quint32 at = 0; at + 1 < pointer && r.problem.isEmpty(); at += 2) {
        const int word = (quint8(data[at]) << 8) | quint8(data[at + 1]);
        const int tag = word >> 12;
        if (tag == 15 && scan.isEmpty()) {
            r.statusAddresses.append(at);
            r.statusBytes.append(quint8(word & 0xFF));
            r.scansBeforeStatus.append(int(r.scans.size()));
        } else if (tag != scan.size()) {
            r.problem = QStringLiteral("tag %1 at %2 where %3 was due").arg(tag).arg(at).arg(scan.size());
        } else {
            scan.append(word & 0xFFF);
            if (scan.size() == words)
                r.scans.append(std::exchange(scan, {}));
        }
    }
    if (!scan.isEmpty() || pointer % 2 != 0)
        r.problem += " memory ends inside a scan";
    return r;
}

Recording parse(const LoggerImage &image)
{
    const Header h{image};
    return parse(image.data, h.active().pointer, int(h.active().channels),
                 LiveBlock::monitorChannel(image.header) > 0);
}

bool isSciText(const QString &text)
{
    static const QRegularExpression form(R"(^[+-]\d\.\d{5}E[+-]\d{2}$)");
    return form.match(text).hasMatch();
}

qint64 chipBytes(int code)
{
    static const qint64 sizes[] = {16384, 32768, 65536, 131072, 262144, 524288};
    return code >= 0 && code <= 5 ? sizes[code] : 65536;
}

// Slope and offset as the logger's firmware takes them: hexadecimal floating
// point in the trailers of lines x40-x70.
std::optional<float> trailerValue(const Header &h, int page, int firstLine)
{
    return fnHexFPToFloat(h.text(page + firstLine, 12, 4) + h.text(page + firstLine + 0x10, 12, 4));
}

void expectCoherentIdentity(const Header &h)
{
    const LoggerImage &image = h.image;
    for (int address = LoggerImage::FirstTextLine; address < LoggerImage::HeaderSize; ++address)
        ASSERT_TRUE(image.header[address] >= ' ' && image.header[address] <= '~') << address;
    EXPECT_EQ(h.hex(0x0210, 8, 6), quint32(image.data.size()));
    const int chips = h.text(0x02C0, 0, 1).toInt();
    EXPECT_EQ(chips * chipBytes(h.text(0x02C0, 1, 1).toInt()), image.data.size());
    EXPECT_GE(h.installedChannels(), 1);
    EXPECT_LE(h.installedChannels(), 8);
    EXPECT_EQ(h.text(0x0210, 15, 1), "C");
    EXPECT_TRUE(h.text(0x0240).startsWith("UNlock:"));
    EXPECT_TRUE(fnSerialTextToDate(h.text(0x0240, 7, 9)).isValid());
    EXPECT_EQ(quint8(image.header[2]), LiveBlock::EepromValid);
    EXPECT_EQ(h.text(0x02C0, 2, 14), QString(14, ' '));
    // Trip levels: references 116 and 3000 mV, the FF fillers.
    EXPECT_EQ(LiveBlock::field(image.header, LiveBlock::TripLine, 11, 2), 116u);
    EXPECT_EQ(LiveBlock::field(image.header, LiveBlock::TripLine, 13, 2), 3000u);
    EXPECT_EQ(quint8(image.header[0x0057]), 0xFF);
    EXPECT_EQ(quint8(image.header[0x005F]), 0xFF);
    EXPECT_TRUE(QString::fromLatin1(image.header.mid(0x0E00, 256)).contains('^'));
    EXPECT_EQ(h.text(0x0490, 4, 12), "++++++++++++");
}

void expectCoherentChannelBlocks(const Header &h)
{
    for (int channel = 1; channel <= h.installedChannels(); ++channel) {
        SCOPED_TRACE(channel);
        const int page = 0x0500 + channel * 0x100;
        EXPECT_TRUE(isSciText(h.text(page + 0x10, 4, 12)));
        EXPECT_TRUE(isSciText(h.text(page + 0x20, 4, 12)));
        for (int line : {0x30, 0x40, 0x50, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0})
            EXPECT_TRUE(isSciText(h.text(page + line, 0, 12))) << line;
        EXPECT_TRUE(QRegularExpression(R"(^\d{5}\.0{6}$)").match(h.text(page + 0x60, 0, 12)).hasMatch());
        if (h.text(page + 0x40, 12, 4) == "dum1")
            continue; // default block: no firmware slope yet
        const float slope = h.text(page + 0x10, 4, 12).toFloat();
        const float offset = h.text(page + 0x20, 4, 12).toFloat();
        ASSERT_TRUE(trailerValue(h, page, 0x40));
        ASSERT_TRUE(trailerValue(h, page, 0x60));
        EXPECT_NEAR(*trailerValue(h, page, 0x40), slope, std::abs(slope) * 1e-4);
        EXPECT_NEAR(*trailerValue(h, page, 0x60), offset, std::abs(offset) * 1e-4 + 1e-6);
        EXPECT_TRUE(h.text(page + 0xB0, 12, 1) == "0" || h.text(page + 0xB0, 12, 1) == "1");
    }
}

void expectCoherentTest(const Header &h, const QString &headerVersion)
{
    const LiveBlock::Setup preset = h.preset();
    const LiveBlock::Setup active = h.active();
    EXPECT_EQ(h.text(0x0210, 0, 4), headerVersion);
    EXPECT_EQ(h.text(0x0490, 0, 4), headerVersion);
    // The calibration-scan interval is a count of 0-255 (0: none).
    EXPECT_LE(preset.calInterval, 255u);
    EXPECT_EQ(active.calInterval, preset.calInterval);
    EXPECT_EQ(h.hex(0x0410, 0, 4), preset.period);
    EXPECT_EQ(h.hex(0x0410, 4, 6), preset.wait);
    EXPECT_EQ(h.hex(0x0410, 10, 6), preset.scans);
    EXPECT_EQ(h.hex(0x0440, 12, 1), preset.channels);
    EXPECT_TRUE(QRegularExpression(R"(^[+-]\d\d$)").match(h.text(0x0440, 13, 3)).hasMatch());
    EXPECT_EQ(active.period, preset.period);
    EXPECT_EQ(active.channels, preset.channels);
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_EQ(LiveBlock::channelActive(h.image.header, channel), channel <= int(preset.channels));
    EXPECT_LE(LiveBlock::monitorChannel(h.image.header), int(preset.channels));
    const QDateTime start = h.date(0x0430);
    EXPECT_EQ(h.date(0x0420), start);
    EXPECT_EQ(h.date(0x0440), start.addSecs(qint64(preset.scans) * preset.period));
    EXPECT_LE(start, Now);
}

TEST(LoggerPresetsTest, NamesAreTheCommandLineNames)
{
    EXPECT_EQ(LoggerPresets::names(),
              QStringList({"fresh", "finished", "logging", "downloaded", "older", "ph", "oldheader"}));
    for (LoggerPreset preset : AllPresets)
        EXPECT_EQ(LoggerPresets::fromName(LoggerPresets::name(preset).toUpper()), preset);
    EXPECT_FALSE(LoggerPresets::fromName("demo"));
}

TEST(LoggerPresetsTest, EveryPresetIsACoherentLogger)
{
    for (LoggerPreset preset : AllPresets) {
        SCOPED_TRACE(LoggerPresets::name(preset).toStdString());
        const LoggerImage image = LoggerPresets::build(preset, Now);
        const Header h{image};
        expectCoherentIdentity(h);
        expectCoherentChannelBlocks(h);
        if (h.initializedForTest())
            expectCoherentTest(h, preset == LoggerPreset::OldHeader ? "0751" : "0762");

        const quint32 pointer = h.active().pointer;
        ASSERT_LE(pointer, quint32(image.data.size()));
        EXPECT_EQ(image.data.mid(pointer).count('\xFF'), image.data.size() - pointer);
        EXPECT_EQ(parse(image).problem, QString());

        // The same logger again, and through its image file.
        const LoggerImage again = LoggerPresets::build(preset, Now);
        EXPECT_TRUE(again.header == image.header && again.data == image.data);
        QTemporaryDir dir;
        ASSERT_TRUE(image.save(dir.filePath("p.img"), nullptr));
        const std::optional<LoggerImage> loaded = LoggerImage::load(dir.filePath("p.img"), nullptr);
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(loaded->header == image.header && loaded->data == image.data
                    && loaded->statusByte == image.statusByte);
    }
}

TEST(LoggerPresetsTest, FinishedTestHoldsItsScansAndOneBatteryEvent)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, Now);
    const Header h{image};
    EXPECT_EQ(image.statusByte & 0x52, 0x42) << "test done, battery low, not logging";
    EXPECT_EQ(h.active().scans, 0u);
    EXPECT_EQ(h.active().wait, 0u);
    const int monitor = LiveBlock::monitorChannel(image.header);
    ASSERT_GT(monitor, 0);

    const Recording r = parse(image);
    ASSERT_EQ(r.problem, QString());
    // One wake-up scan at logging on, then every scan of the test.
    EXPECT_EQ(r.scans.size(), qsizetype(h.preset().scans) + 1);
    EXPECT_GE(r.scans.size(), 2000);
    ASSERT_EQ(r.statusAddresses.size(), 1);
    EXPECT_TRUE(r.statusBytes[0] & 0x02);

    const LiveBlock::Event event = LiveBlock::event(image.header);
    const int words = int(h.active().channels) + 2;
    const int before = r.scansBeforeStatus[0];
    EXPECT_EQ(event.pointer, r.statusAddresses[0]);
    EXPECT_EQ(int(event.pointer) / (2 * words), before);
    EXPECT_EQ(event.channels, h.active().channels);
    EXPECT_EQ(int(event.scans), int(h.preset().scans) - (before - 1));
    EXPECT_EQ(h.active().pointer, quint32(r.scans.size() * words * 2 + 2));

    // The battery channel (4, "Vbat") crossed the trip level at the event.
    EXPECT_EQ(h.text(0x0900 + 0x10, 0, 4), "Vbat");
    const int trip = LiveBlock::batteryTrip(image.header);
    EXPECT_LT(r.scans[before][3], trip);
    for (int scan = 0; scan < before; ++scan)
        ASSERT_GE(r.scans[scan][3], trip) << scan;

    const int channels = int(h.active().channels);
    for (const QList<int> &scan : r.scans) {
        EXPECT_GE(scan[channels], scan[channels + 1]);
        EXPECT_LE(scan[monitor - 1], scan[channels]);
        EXPECT_GE(scan[monitor - 1], scan[channels + 1]);
    }
    EXPECT_EQ(h.text(0x0540), QString(16, 'x'));
    EXPECT_LT(h.date(0x0440), Now);
}

TEST(LoggerPresetsTest, FinishedTestHoldsAFewClippedReadings)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, Now);
    const Header h{image};
    const Recording r = parse(image);
    ASSERT_EQ(r.problem, QString());
    const int channels = int(h.active().channels);
    const int monitor = LiveBlock::monitorChannel(image.header);
    const struct
    {
        const char *name;
        int count;
    } clips[] = {{"low clip", 0}, {"high clip", 4095}};
    for (const auto &clip : clips) {
        SCOPED_TRACE(clip.name);
        int scansWithClip = 0;
        for (const QList<int> &scan : r.scans) {
            if (std::find(scan.begin(), scan.begin() + channels, clip.count) != scan.begin() + channels)
                ++scansWithClip;
        }
        // A few, so a download shows them among ordinary readings.
        EXPECT_GE(scansWithClip, 2);
        EXPECT_LE(scansWithClip, 10);
    }
    // The monitored channel clipped high too: its maximum column says so.
    int monitorHigh = 0;
    for (const QList<int> &scan : r.scans) {
        if (scan[monitor - 1] == 4095) {
            ++monitorHigh;
            EXPECT_EQ(scan[channels], 4095);
        }
        // The battery channel never clips: its only event is the low battery.
        EXPECT_GT(scan[3], 0);
        EXPECT_LT(scan[3], 4095);
    }
    EXPECT_GE(monitorHigh, 1);
}

TEST(LoggerPresetsTest, LoggingTestIsTakingScans)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, Now);
    const Header h{image};
    EXPECT_EQ(image.statusByte, 0x90) << "logging and dump output on, as an initialization leaves it";
    const LiveBlock::Setup preset = h.preset();
    const qint64 elapsed = h.date(0x0430).secsTo(Now);
    const int taken = int(elapsed / preset.period) + 1;
    EXPECT_GT(taken, 100);
    EXPECT_EQ(h.active().scans, preset.scans - quint32(taken));
    EXPECT_EQ(h.active().wait, 0u);
    EXPECT_EQ(preset.pointer, 0u);

    const Recording r = parse(image);
    EXPECT_EQ(r.problem, QString());
    EXPECT_EQ(r.scans.size(), taken + 1);
    EXPECT_TRUE(r.statusAddresses.isEmpty());
    const LiveBlock::Event event = LiveBlock::event(image.header);
    EXPECT_EQ(event.pointer, 0u);
    EXPECT_EQ(event.channels, preset.channels);
    EXPECT_EQ(h.text(0x0540), QString(16, 'x'));
}

TEST(LoggerPresetsTest, DownloadedLoggerNamesItsLastDownload)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::Downloaded, Now);
    const Header h{image};
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}/\d\d/\d\d \d\d:\d\d$)").match(h.text(0x0540)).hasMatch())
        << h.text(0x0540).toStdString();
    const QString file = (h.text(0x0550) + h.text(0x0560)).trimmed();
    EXPECT_TRUE(file.startsWith(h.text(0x0200, 8, 8) + "-")) << file.toStdString();
    EXPECT_TRUE(file.endsWith(".CSV"));
    EXPECT_GT(h.active().pointer, 0u);
}

TEST(LoggerPresetsTest, OldHeaderLoggerIsCurrentSeriesWithAnEarlierHeaderVersion)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::OldHeader, Now);
    const Header h{image};
    EXPECT_EQ(h.text(0x0210, 0, 4), "0751");
    EXPECT_EQ(h.text(0x0210, 4, 4), "Z823");
    EXPECT_FALSE(h.text(0x0540).contains('x')); // downloaded: no other warning on the way
    EXPECT_EQ(image.statusByte & 0x50, 0x40); // done, not logging
    EXPECT_GT(parse(image).scans.size(), 0);
}

TEST(LoggerPresetsTest, FreshLoggerHasNoTest)
{
    const LoggerImage image = LoggerPresets::build(LoggerPreset::Fresh, Now);
    const Header h{image};
    EXPECT_EQ(image.statusByte, 0);
    EXPECT_EQ(h.text(0x0400), "000000FactoryInt");
    EXPECT_EQ(h.active().pointer, 0u);
    EXPECT_EQ(image.data.count('\xFF'), image.data.size());
    EXPECT_EQ(h.text(0x0600), "141541..Unknown.");
}

TEST(LoggerPresetsTest, FirmwareVersionsTellSeriesAndVariant)
{
    const struct
    {
        LoggerPreset preset;
        bool currentSeries;
        bool phDisplay;
    } cases[] = {
        {LoggerPreset::Fresh, true, false},      {LoggerPreset::Finished, true, false},
        {LoggerPreset::Logging, true, false},    {LoggerPreset::Downloaded, true, false},
        {LoggerPreset::Older, false, false},     {LoggerPreset::Ph, true, true},
        {LoggerPreset::OldHeader, true, false},
    };
    for (const auto &c : cases) {
        const LoggerImage image = LoggerPresets::build(c.preset, Now);
        const QString firmware = Header{image}.text(0x0210, 4, 4);
        SCOPED_TRACE(firmware.toStdString());
        EXPECT_EQ(firmware.mid(1, 1).toInt() >= 5, c.currentSeries);
        EXPECT_TRUE(firmware.contains('Z'));
        EXPECT_EQ(firmware.mid(1, 3) == "522", c.phDisplay);
    }
    const LoggerImage ph = LoggerPresets::build(LoggerPreset::Ph, Now);
    const Header h{ph};
    EXPECT_TRUE(h.text(0x0610, 0, 4).contains("pH", Qt::CaseInsensitive));
    // pH 4.01 at count 1000 and 7.00 at 2000, in the firmware's own form.
    EXPECT_NEAR(*trailerValue(h, 0x0600, 0x40), 0.00299, 1e-7);
    EXPECT_NEAR(*trailerValue(h, 0x0600, 0x60), 1.02, 1e-5);
}

TEST(LoggerPresetsTest, EveryPresetAnswersHeaderReadsOverTheWire)
{
    for (LoggerPreset preset : AllPresets) {
        SCOPED_TRACE(LoggerPresets::name(preset).toStdString());
        SimWire wire(LoggerPresets::build(preset, Now));
        for (int address : {0x0200, 0x0210, 0x0610, 0x0E00}) {
            const QByteArray body = QByteArray::number(address, 16).rightJustified(4, '0');
            const QByteArray reply = wire.exchange('c', body);
            ASSERT_EQ(reply.size(), 25) << reply.constData();
            const QByteArray line = reply.left(24);
            EXPECT_TRUE(SimWire::checksumOk(line)) << line.constData();
            EXPECT_EQ(line.mid(7 - 1, 16), wire.logger.image().header.mid(address, 16));
        }
        const QByteArray reply = wire.exchange('a', "0020");
        ASSERT_EQ(reply.size(), 41);
        EXPECT_TRUE(SimWire::checksumOk(reply.left(40)));
        EXPECT_EQ(QByteArray::fromHex(reply.mid(6, 32)), wire.logger.image().header.mid(0x20, 16));
    }
}

} // namespace
