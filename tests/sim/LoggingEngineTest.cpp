#include "sim/LoggerPresets.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

namespace {

QByteArray hexField(qint64 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// Line 0010/0020 as an initialization writes it.
QByteArray setupLine(int period, int wait, int scans, int channels, int pointer = 0)
{
    return "0000" + hexField(0, 4) + hexField(period, 4) + hexField(wait, 6) + hexField(scans, 6)
           + hexField(channels, 2) + hexField(pointer, 6);
}

struct TestSetup
{
    int period, wait, scans, channels, monitor;
    int batteryTrip = 0, supplyTrip = 0;
};

// Writes page 00 the way an initialization does and switches logging on.
void initialize(SimWire &wire, const TestSetup &t)
{
    wire.write('q', "#00");
    wire.write('b', "0050#" + hexField(t.batteryTrip, 4) + hexField(t.supplyTrip, 4)
                        + "000010FF000010" + hexField(116, 4) + hexField(3000, 4) + "FF");
    wire.write('b', "0010#" + setupLine(t.period, t.wait, t.scans, t.channels));
    wire.write('b', "0020#" + setupLine(t.period, t.wait, t.scans, t.channels));
    QByteArray config;
    for (int c = 1; c <= 8; ++c)
        config += hexField((c <= t.channels ? 0x40 : 0) + (c == 1 && t.monitor ? 0x80 + t.monitor : 0), 2);
    wire.write('b', "0040#" + config + QByteArray(16, '0'));
    wire.write('b', "0000#" + ("0000A503" + QByteArray(16, '0') + hexField(t.channels, 2) + "000000"));
    wire.exchange('l');
    wire.write('q', "#90");
}

// The 16 bytes of a header line, read with "a".
QByteArray headerLine(SimWire &wire, const QByteArray &address)
{
    return QByteArray::fromHex(wire.exchange('a', address).mid(6, 32));
}

quint32 bigEndian(const QByteArray &bytes, int offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | quint8(bytes.at(offset + i));
    return value;
}

QList<quint16> words(const QByteArray &data)
{
    QList<quint16> result;
    for (int i = 0; i + 1 < data.size(); i += 2)
        result.append(quint16(quint8(data[i]) << 8 | quint8(data[i + 1])));
    return result;
}

// A test as the Setup tab hands it to the initialization.
struct InitSetup
{
    int period, wait, scans, channels, monitor, calInterval;
};

QByteArray configurationDigits(int channels, int monitor)
{
    QByteArray config;
    for (int c = 1; c <= 8; ++c)
        config += hexField((c <= channels ? 0x40 : 0) + (c == 1 && monitor ? 0x80 + monitor : 0), 2);
    return config + QByteArray(16, '0');
}

// A hexadecimal line write, then its read-back, as the initialization verifies it.
void writeVerified(SimWire &wire, const QByteArray &address, const QByteArray &digits)
{
    wire.write('b', address + "#" + digits);
    EXPECT_EQ(wire.exchange('a', address).mid(6, 32), digits) << address.constData();
}

// The program's initialization of a connected logger, line by line in its
// order: logging off, the status byte cleared and read, the text lines,
// the live block verified, page 00, then logging on ("l" for a current-series
// logger, else a soft reset) and the status byte written as 0x90.
void initializeAsTheProgramDoes(SimWire &wire, const InitSetup &t, bool currentSeries)
{
    wire.exchange('s');
    wire.exchange('p');
    const int status = wire.exchange('p').mid(2, 2).toInt(nullptr, 16);
    if (status & 0x10) {
        wire.exchange('m');
        wire.write('q', "#" + hexField((status | 0x04) & ~0x90, 2));
    }
    wire.write('q', "#00");
    wire.exchange('p');
    const QByteArray identity = wire.exchange('c', "0210").mid(6, 16);
    wire.write('d', "0210#0762" + identity.mid(4, 12));
    wire.write('d', "0400#000000    TECH09");
    const QByteArray description = QByteArray("Wire test of an initialized logger").leftJustified(64);
    for (int line = 0; line < 4; ++line)
        wire.write('d', "04" + hexField(0x50 + 16 * line, 2) + "#" + description.mid(16 * line, 16));
    wire.write('d', "0490#0762++++++++++++");
    wire.write('d', "0440#45369.500000" + hexField(t.channels, 1) + "+00");
    for (const char *address : {"0540", "0550", "0560"})
        wire.write('d', QByteArray(address) + "#" + QByteArray(16, 'x'));
    wire.write('d', "0420#45366.2500000004");
    wire.write('d', "0430#45366.2500000012");
    wire.write('d', "0410#" + hexField(t.period, 4) + hexField(t.wait, 6) + hexField(t.scans, 6));
    const QByteArray live = ("0000" + hexField(t.calInterval, 4) + hexField(t.period, 4)
                             + hexField(t.wait, 6) + hexField(t.scans, 6) + hexField(t.channels, 2)
                             + "000000" + "000000")
                                .left(32);
    writeVerified(wire, "0010", live);
    writeVerified(wire, "0020", live);
    writeVerified(wire, "0040", configurationDigits(t.channels, t.monitor));
    wire.write('b', "0000#" + ("0000A503" + QByteArray(16, '0') + hexField(t.channels, 2) + "000000"
                               + "000000")
                                  .left(32));
    if (currentSeries) {
        wire.exchange('l');
    } else {
        wire.exchange('o');
        wire.wait(0.2);
        wire.exchange('g');
        wire.wait(0.3);
    }
    wire.wait(0.1);
    wire.write('q', "#90");
}

// Scan i of a test whose switch-on scan (i = 0) took `first`: with a delay
// over 255 s the early scan comes 255 s before the start, then the counted
// scans at the start and every period after it, each read at the time it
// was due on the logger's clock.
ChannelSignals::Sample scanSample(const ChannelSignals::Sample &first, int i, int wait, int period)
{
    const int wakeUps = wait > 255 ? 2 : 1;
    const qint64 seconds = i == 0 ? 0 : i < wakeUps ? wait - 255 : wait + qint64(i - wakeUps) * period;
    return {first.number + quint64(i), first.timeMs + seconds * 1000};
}

} // namespace

TEST(LoggingEngine, InitializedTestFillsMemoryWithTaggedScansStatusWordAndCounters)
{
    SimWire wire;
    const TestSetup t{10, 30, 20, 3, 2, 1024, 768};
    initialize(wire, t);
    const ChannelSignals::Sample first = wire.logger.inputs().lastSample();
    wire.wait(105); // the scan at switch-on, then scans at 30, 40 ... 100 s
    wire.logger.inputs().setBattery(900);
    wire.wait(200);
    const QByteArray received = wire.takeReceived();

    EXPECT_EQ(wire.exchange('p'), "p#C2" + SimWire::checksum("#C2") + "\r"); // dump, done, battery low
    const int perScan = t.channels + 2;
    const int scans = 1 + t.scans;
    const int used = scans * perScan * 2 + 2;
    const QByteArray active = headerLine(wire, "0020");
    EXPECT_EQ(bigEndian(active, 13, 3), quint32(used)); // pointer
    EXPECT_EQ(bigEndian(active, 9, 3), 0u); // scans left
    EXPECT_EQ(bigEndian(active, 6, 3), 0u); // wait left
    EXPECT_EQ(bigEndian(active, 4, 2), quint32(t.period));

    // Battery fell below its trip level before the tenth scan.
    const int eventScan = 9;
    const QByteArray event = headerLine(wire, "0000");
    EXPECT_EQ(bigEndian(event, 13, 3), quint32(eventScan * perScan * 2)); // event pointer
    EXPECT_EQ(bigEndian(event, 12, 1), quint32(t.channels));
    EXPECT_EQ(bigEndian(event, 9, 3), quint32(t.scans - (eventScan - 1))); // scans then left
    EXPECT_EQ(bigEndian(event, 4, 2), quint32(t.period));

    const QList<quint16> memory = words(wire.readData(used + 16));
    int at = 0;
    for (int scan = 0; scan < scans; ++scan) {
        const ChannelSignals::Sample sample = scanSample(first, scan, t.wait, t.period);
        if (scan == eventScan)
            EXPECT_EQ(memory[at++], 0xF092); // status word: logging, dump, battery low
        for (int tag = 0; tag < t.channels; ++tag)
            EXPECT_EQ(memory[at++], (tag << 12) | wire.logger.inputs().count(tag + 1, sample));
        const int reading = wire.logger.inputs().count(t.monitor, sample);
        const int maximum = memory[at++] - (t.channels << 12);
        const int minimum = memory[at++] - ((t.channels + 1) << 12);
        EXPECT_EQ(maximum, wire.logger.inputs().maximum(t.monitor, sample));
        EXPECT_EQ(minimum, wire.logger.inputs().minimum(t.monitor, sample));
        EXPECT_TRUE(minimum <= reading && reading <= maximum && minimum < maximum);
    }
    EXPECT_EQ(at, used / 2);
    EXPECT_EQ(memory[at], 0xFFFF);

    // Dump output: one "l" line per scan after it was switched on, same counts.
    const QList<QByteArray> lines = received.split('\r');
    int dumped = 0;
    for (const QByteArray &line : lines) {
        if (!line.startsWith('l'))
            continue;
        const ChannelSignals::Sample s = scanSample(first, ++dumped, t.wait, t.period); // the switch-on scan was not dumped
        EXPECT_EQ(line.size(), 6 * 4 + 4);
        EXPECT_TRUE(SimWire::checksumOk(line));
        EXPECT_EQ(line.mid(3, 3).toInt(nullptr, 16), wire.logger.inputs().count(1, s));
    }
    EXPECT_EQ(dumped, t.scans);
}

TEST(LoggingEngine, LongStartDelayCountsDownAndTakesTheEarlyScans)
{
    SimWire wire;
    initialize(wire, {60, 300, 5, 2, 0});
    wire.wait(40);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 6, 3), 260u);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), 4u); // the switch-on scan
    wire.wait(10); // past 255 s before the start
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), 8u);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 9, 3), 5u);
    wire.wait(251); // past the start
    const QByteArray active = headerLine(wire, "0020");
    EXPECT_EQ(bigEndian(active, 13, 3), 12u);
    EXPECT_EQ(bigEndian(active, 9, 3), 4u);
    EXPECT_EQ(bigEndian(active, 6, 3), 0u);
    EXPECT_TRUE(wire.logger.isLogging());
}

TEST(LoggingEngine, EndsWithMemoryFullWhenTheNextScanDoesNotFit)
{
    SimWire wire(SimWire::minimalImage(4, 64));
    initialize(wire, {1, 0, 1000, 3, 0});
    wire.wait(60);
    EXPECT_FALSE(wire.logger.isLogging());
    EXPECT_EQ(wire.logger.statusByte(), 0x80 | 0x20);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), 60u); // ten scans of six bytes
    EXPECT_EQ(wire.logger.image().data.right(4), QByteArray(4, char(0xFF)));
}

TEST(LoggingEngine, StopAndStatusWritesControlLogging)
{
    SimWire wire;
    initialize(wire, {5, 0, 100, 2, 0});
    wire.wait(12);
    wire.exchange('m');
    const quint32 stopped = bigEndian(headerLine(wire, "0020"), 13, 3);
    wire.wait(60);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), stopped);
    EXPECT_FALSE(wire.logger.isLogging());

    wire.write('q', "#10"); // setting the logging bit starts again from 0020
    EXPECT_TRUE(wire.logger.isLogging());
    wire.write('q', "#04");
    EXPECT_FALSE(wire.logger.isLogging());
}

TEST(LoggingEngine, ImageOfARunningTestGoesOnLogging)
{
    LoggerImage image = SimWire::minimalImage();
    const QByteArray active = QByteArray::fromHex(setupLine(10, 0, 3, 2, 40));
    image.header.replace(0x0020, 16, active);
    image.statusByte = 0x10;
    SimWire wire(image);
    EXPECT_TRUE(wire.logger.isLogging());
    wire.wait(35);
    EXPECT_EQ(wire.logger.statusByte(), 0x40);
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), 40u + 3 * 4);
}

TEST(LoggingEngine, LoggingSwitchedOnWithNoScansLeftReadsTestDoneWithTheLoggingBit)
{
    SimWire wire;
    initialize(wire, {5, 0, 2, 1, 0});
    wire.wait(20);
    ASSERT_EQ(wire.logger.statusByte(), 0xC0);
    const quint32 pointer = bigEndian(headerLine(wire, "0020"), 13, 3);

    wire.exchange('s');
    wire.exchange('l');
    EXPECT_EQ(wire.exchange('p'), "p#50" + SimWire::checksum("#50") + "\r");
    wire.wait(60);
    EXPECT_FALSE(wire.logger.isLogging());
    EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), pointer);

    // A restart keeps it so; "m" clears the logging bit.
    wire.logger.loadImage(wire.logger.image());
    EXPECT_EQ(wire.logger.statusByte(), 0x50);
    wire.exchange('m');
    EXPECT_EQ(wire.logger.statusByte(), 0x40);
}

TEST(LoggingEngine, AfterTheProgramsInitializationAndAReconnectLogsTheWrittenTest)
{
    const struct
    {
        const char *name;
        LoggerPreset before;
        bool currentSeries;
        InitSetup setup;
        int wakeUps; // scans before the start: one, two after a delay over 255 s
    } cases[] = {
        {"current series, monitor 3", LoggerPreset::Finished, true, {10, 30, 6, 4, 3, 12}, 1},
        {"soft reset, long delay", LoggerPreset::Logging, false, {60, 300, 3, 2, 0, 0}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const InitSetup &t = c.setup;
        SimWire wire(LoggerPresets::build(c.before, VirtualEventLoop().now()));
        initializeAsTheProgramDoes(wire, t, c.currentSeries);
        const ChannelSignals::Sample first = wire.logger.inputs().lastSample(); // the switch-on scan
        const int perScan = 2 * (t.channels + (t.monitor ? 2 : 0));

        // Disconnected for the first blink, reconnected during the delay.
        wire.logger.unplug();
        wire.wait(t.wait - 10);
        wire.logger.plugIn();
        QByteArray active = headerLine(wire, "0020");
        EXPECT_EQ(bigEndian(active, 2, 2), quint32(t.calInterval));
        EXPECT_EQ(bigEndian(active, 4, 2), quint32(t.period));
        EXPECT_LE(bigEndian(active, 6, 3), 10u);
        EXPECT_GE(bigEndian(active, 6, 3), 9u);
        EXPECT_EQ(bigEndian(active, 9, 3), quint32(t.scans));
        EXPECT_EQ(bigEndian(active, 12, 1), quint32(t.channels));
        EXPECT_EQ(bigEndian(active, 13, 3), quint32(c.wakeUps * perScan));
        EXPECT_EQ(wire.exchange('p'), "p#90" + SimWire::checksum("#90") + "\r");

        // One scan at the start, then one a period.
        wire.wait(10 + t.period / 2.0);
        active = headerLine(wire, "0020");
        EXPECT_EQ(bigEndian(active, 9, 3), quint32(t.scans - 1));
        EXPECT_EQ(bigEndian(active, 13, 3), quint32((c.wakeUps + 1) * perScan));
        wire.wait(t.period);
        EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 9, 3), quint32(t.scans - 2));

        wire.wait(double(t.period) * t.scans);
        EXPECT_FALSE(wire.logger.isLogging());
        EXPECT_EQ(wire.logger.statusByte(), 0x80 | 0x40);
        const int scans = c.wakeUps + t.scans;
        EXPECT_EQ(bigEndian(headerLine(wire, "0020"), 13, 3), quint32(scans * perScan));
        const QList<quint16> memory = words(wire.readData(scans * perScan + 16));
        int at = 0;
        for (int scan = 0; scan < scans; ++scan) {
            const ChannelSignals::Sample sample = scanSample(first, scan, t.wait, t.period);
            for (int tag = 0; tag < t.channels; ++tag)
                EXPECT_EQ(memory[at++], (tag << 12) | wire.logger.inputs().count(tag + 1, sample));
            if (t.monitor) {
                const ChannelSignals &inputs = wire.logger.inputs();
                EXPECT_EQ(memory[at++], (t.channels << 12) | inputs.maximum(t.monitor, sample));
                EXPECT_EQ(memory[at++], ((t.channels + 1) << 12) | inputs.minimum(t.monitor, sample));
            }
        }
    }
}
