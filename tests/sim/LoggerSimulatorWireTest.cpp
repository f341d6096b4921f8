#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

namespace {

struct WireCase
{
    char letter;
    QByteArray body; // without checksum
    bool bodyChecksum; // the PC appends one
    int lineLength; // echoed letter included, carriage return excluded
    bool lineChecksum;
};

class WireCommands : public testing::TestWithParam<WireCase>
{};

// Every command of the wire table, with a 4-channel logger.
const WireCase wireCases[] = {
    {'a', "0200", false, 40, true},
    {'b', "0100#00112233445566778899AABBCCDDEEFF", true, 1, false},
    {'c', "0200", false, 24, true},
    {'d', "0E00#Notes go here...", true, 1, false},
    {'e', "000000", false, 42, true},
    {'f', "000010#0123456789ABCDEF0123456789ABCDEF", true, 1, false},
    {'g', "", false, 1, false},
    {'h', "#2", false, 1, false},
    {'i', "#3", false, 1, false},
    {'l', "", false, 1, false},
    {'m', "", false, 1, false},
    {'o', "", false, 1, false},
    {'p', "", false, 6, true},
    {'q', "#00", true, 1, false},
    {'r', "", false, 6 * 4 + 4, true},
    {'R', "", false, 15, true},
    {'s', "", false, 1, false},
    {'t', "", false, 1, false},
    {'u', "", false, 1, false},
};

} // namespace

TEST_P(WireCommands, EchoLineLengthAndChecksum)
{
    const WireCase &c = GetParam();
    SimWire wire;
    const QByteArray reply = c.bodyChecksum ? wire.write(c.letter, c.body) : wire.exchange(c.letter, c.body);

    ASSERT_TRUE(reply.endsWith('\r')) << reply.toStdString();
    EXPECT_EQ(reply.count('\r'), 1);
    const QByteArray line = reply.chopped(1);
    EXPECT_EQ(line.at(0), c.letter);
    EXPECT_EQ(line.size(), c.lineLength) << line.toStdString();
    if (c.lineChecksum)
        EXPECT_TRUE(SimWire::checksumOk(line)) << line.toStdString();
    if (c.letter == 'a' || c.letter == 'c' || c.letter == 'e')
        EXPECT_EQ(line.mid(1, c.body.size()), c.body);
}

INSTANTIATE_TEST_SUITE_P(LoggerSimulator, WireCommands, testing::ValuesIn(wireCases),
                         [](const testing::TestParamInfo<WireCase> &info) {
                             // Letters are case-sensitive: "r" and "R" stay apart.
                             return std::string("Letter_") + info.param.letter;
                         });

TEST(LoggerSimulator, BootloaderRestartIsNeitherEchoedNorAnswered)
{
    SimWire wire;
    wire.exchange('h', "#2");
    wire.port.write("G");
    wire.wait(0.5);
    EXPECT_TRUE(wire.takeReceived().isEmpty());
    EXPECT_FALSE(wire.logger.ledOn(2));
    EXPECT_EQ(wire.exchange('p'), "p#0083\r");
}

TEST(LoggerSimulator, WritesReadBack)
{
    struct Case
    {
        char write;
        QByteArray body;
        char read;
        QByteArray address;
        int from, width; // of the data in the read line
    };
    const Case cases[] = {
        {'b', "0030#00112233445566778899AABBCCDDEEFF", 'a', "0030", 6, 32},
        {'d', "0E10#Line with #, ^@!", 'c', "0E10", 6, 16},
        {'f', "000FF0#0123456789ABCDEF0123456789ABCDEF", 'e', "000FF0", 8, 32},
        {'q', "#85", 'p', "", 2, 2},
    };
    for (const Case &c : cases) {
        SimWire wire;
        EXPECT_EQ(wire.write(c.write, c.body), QByteArray(1, c.write) + '\r');
        const QByteArray line = wire.exchange(c.read, c.address).chopped(1);
        EXPECT_EQ(line.mid(c.from, c.width), c.body.mid(c.body.indexOf('#') + 1)) << c.write;
    }
}

TEST(LoggerSimulator, WriteWithWrongChecksumIsAnsweredButNotApplied)
{
    const QByteArray bodies[] = {"b0030#00112233445566778899AABBCCDDEEFF", "d0E10#Sixteen chars...",
                                 "f000020#0123456789ABCDEF0123456789ABCDEF", "q#85"};
    for (const QByteArray &letterAndBody : bodies) {
        SimWire wire;
        const LoggerImage before = wire.logger.image();
        const QByteArray body = letterAndBody.mid(1);
        const QByteArray good = SimWire::checksum(body);
        const QByteArray bad = QByteArray::number((good.toInt(nullptr, 16) + 1) % 256, 16)
                                   .toUpper()
                                   .rightJustified(2, '0');
        EXPECT_EQ(wire.exchange(letterAndBody[0], body + bad), letterAndBody.left(1) + '\r');
        EXPECT_EQ(wire.logger.image().header, before.header) << letterAndBody.toStdString();
        EXPECT_EQ(wire.logger.image().data, before.data);
        EXPECT_EQ(wire.logger.image().statusByte, before.statusByte);
    }
}

TEST(LoggerSimulator, BadInputGetsItsDefinedAnswerAndHarmsNothing)
{
    struct Case
    {
        QByteArray sent;
        QByteArray expected;
    };
    const Case cases[] = {
        {"x\r", ""}, // unknown letter: ignored
        {"\n\r", ""},
        {"a02000\r", "a"}, // body too long: dropped with the rest of the line
        {"p0\r", "p"},
        {"a0G00\r", "a\r"}, // not hexadecimal
        {"a0FF8\r", "a\r"}, // past the end of the header
        {"c1000\r", "c\r"},
        {"e12345\r", "e\r"}, // five digits
        {"b1000#00112233445566778899AABBCCDDEEFF" + SimWire::checksum("1000#00112233445566778899AABBCCDDEEFF") + "\r",
         "b\r"}, // outside the header
        {"h#7\r", "h\r"}, // no such LED
        {"q#8" + SimWire::checksum("#8") + "\r", "q\r"},
    };
    for (const Case &c : cases) {
        SimWire wire;
        const LoggerImage before = wire.logger.image();
        wire.port.write(c.sent);
        wire.wait(1.0);
        EXPECT_EQ(wire.takeReceived(), c.expected) << c.sent.toStdString();
        EXPECT_EQ(wire.logger.image().header, before.header) << c.sent.toStdString();
        EXPECT_EQ(wire.logger.image().statusByte, before.statusByte) << c.sent.toStdString();
        EXPECT_EQ(wire.exchange('p'), "p#0083\r") << "after " << c.sent.toStdString();
    }
}

TEST(LoggerSimulator, BodyWithoutCarriageReturnIsDroppedAfterSilence)
{
    SimWire wire;
    wire.port.write("a0200");
    wire.wait(LoggerSimulator::BodyTimeoutMs / 1000.0 + 0.5);
    EXPECT_EQ(wire.takeReceived(), "a");
    EXPECT_EQ(wire.exchange('p'), "p#0083\r");
}

TEST(LoggerSimulator, TextWriteKeepsEveryCharacterCode)
{
    SimWire wire;
    const QByteArray text("A\rB\x01#\xAA" "CDEFGHIJKL", 16);
    wire.write('d', "0E20#" + text);
    const QByteArray line = wire.exchange('c', "0E20");
    EXPECT_EQ(wire.logger.image().header.mid(0x0E20, 16), text);
    EXPECT_TRUE(line.startsWith("c0E20#A\r")); // the logger sends the bytes as they are
}

TEST(LoggerSimulator, DataBeyondInstalledMemoryReadsErasedAndKeepsNothing)
{
    SimWire wire(SimWire::minimalImage(4, 4096));
    wire.write('f', "001000#0123456789ABCDEF0123456789ABCDEF");
    const QByteArray line = wire.exchange('e', "001000").chopped(1);
    EXPECT_EQ(line.mid(8, 32), QByteArray(32, 'F'));
    EXPECT_TRUE(SimWire::checksumOk(line));
    EXPECT_EQ(wire.logger.image().data.size(), 4096);
}

TEST(LoggerSimulator, RealTimeLineCarriesEachInstalledChannelsCount)
{
    SimWire wire(SimWire::minimalImage(8));
    wire.logger.inputs().force(2, 0);
    wire.logger.inputs().force(7, 4095);
    const QByteArray line = wire.exchange('r').chopped(1);
    ASSERT_EQ(line.size(), 6 * 8 + 4);
    const ChannelSignals::Sample sample = wire.logger.inputs().lastSample();
    for (int k = 1; k <= 8; ++k) {
        const int count = line.mid(6 * (k - 1) + 3, 3).toInt(nullptr, 16);
        EXPECT_EQ(count, wire.logger.inputs().count(k, sample)) << k;
    }
    EXPECT_EQ(line.mid(6 + 3, 3), "000");
    EXPECT_EQ(line.mid(36 + 3, 3), "FFF");
}

TEST(LoggerSimulator, SupplyLineReportsBatterySupplyAndTemperatureCounts)
{
    SimWire wire;
    wire.logger.inputs().setBattery(0x5DC);
    wire.logger.inputs().setSupply(0x802);
    wire.logger.inputs().setTemperature(0x73A);
    const QByteArray line = wire.exchange('R').chopped(1);
    EXPECT_EQ(line.chopped(2), "R#5DC,802,73A");
    EXPECT_TRUE(SimWire::checksumOk(line));
}

TEST(LoggerSimulator, LedsDumpAndSoftReset)
{
    SimWire wire;
    wire.exchange('h', "#2");
    wire.exchange('h', "#3");
    wire.exchange('i', "#3");
    EXPECT_TRUE(wire.logger.ledOn(2));
    EXPECT_FALSE(wire.logger.ledOn(3));
    wire.exchange('t');
    EXPECT_EQ(wire.exchange('p'), "p#80" + SimWire::checksum("#80") + "\r");
    wire.exchange('s');
    EXPECT_EQ(wire.exchange('p'), "p#0083\r");

    wire.exchange('g'); // without "o": nothing
    EXPECT_TRUE(wire.logger.ledOn(2));
    wire.exchange('o');
    wire.exchange('g');
    EXPECT_FALSE(wire.logger.ledOn(2));
}

TEST(LoggerSimulator, ImageWithAShortHeaderIsPaddedNotOverrun)
{
    LoggerImage image = SimWire::minimalImage();
    image.header.truncate(0x100);
    SimWire wire(image);
    const QByteArray line = wire.exchange('a', "0FF0").chopped(1);
    EXPECT_EQ(line.mid(6, 32), QByteArray(32, '0'));
    EXPECT_EQ(wire.logger.image().header.size(), LoggerImage::HeaderSize);
}
