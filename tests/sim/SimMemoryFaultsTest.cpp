#include "sim/LoggerPresets.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

namespace {
const QByteArray Digits = "0123456789ABCDEF0123456789ABCDEF";

QByteArray dataDigits(SimWire &wire, const QByteArray &address)
{
    return wire.exchange('e', address).mid(8, 32);
}
} // namespace

// A stuck bit keeps its level whatever is written, in either memory, and
// leaves every other bit and line alone.
TEST(SimMemoryFaults, StuckBitsKeepTheirLevel)
{
    SimWire wire;
    wire.logger.faults().stickBits(SimFaults::Memory::Header, 0x0E01, 0x01, true);
    wire.logger.faults().stickBits(SimFaults::Memory::Header, 0x0E03, 0x40, false);
    wire.logger.faults().stickBits(SimFaults::Memory::Data, 0x0021, 0x80, false);
    wire.logger.faults().stickBits(SimFaults::Memory::Data, 0x0021, 0x02, true);

    wire.write('d', "0E00#UUUUUUUUUUUUUUUU");
    EXPECT_EQ(wire.exchange('c', "0E00").mid(6, 16), QByteArray("UUU\x15UUUUUUUUUUUU"));
    wire.write('b', "0E00#" + QByteArray(32, '0'));
    EXPECT_EQ(wire.exchange('a', "0E00").mid(6, 32), "0001" + QByteArray(28, '0'));
    wire.write('f', "000020#" + QByteArray(32, 'F'));
    EXPECT_EQ(dataDigits(wire, "000020"), "FF7F" + QByteArray(28, 'F'));
    wire.write('f', "000020#" + QByteArray(32, '0'));
    EXPECT_EQ(dataDigits(wire, "000020"), "0002" + QByteArray(28, '0'));
    wire.write('f', "000030#" + QByteArray(32, '0'));
    EXPECT_EQ(dataDigits(wire, "000030"), QByteArray(32, '0'));
}

// Chips smaller than the header says wrap the address: a line written above
// the fitted top lands at the address modulo the fitted size.
TEST(SimMemoryFaults, FittedChipsAliasAddresses)
{
    SimWire wire(SimWire::minimalImage(4, 0x4000));
    wire.logger.faults().fitDataMemory(0x1000);
    wire.write('f', "001010#" + Digits);
    EXPECT_EQ(dataDigits(wire, "000010"), Digits);
    EXPECT_EQ(dataDigits(wire, "003010"), Digits);
    EXPECT_EQ(wire.logger.image().data.mid(0x1010, 16), QByteArray(16, '\xFF'));
}

// The factory page pads short bodies with blanks and dots; the firmware takes
// every character by its low four bits, so the line holds 0 and E there.
TEST(SimMemoryFaults, PaddedBodiesAreTakenByTheirLowBits)
{
    struct Case
    {
        char write;
        QByteArray body;
        char read;
        QByteArray address;
        int from;
        QByteArray stored;
    };
    const Case cases[] = {
        {'f', "000040#12 .ab" + QByteArray(26, '.'), 'e', "000040", 8, "120EAB" + QByteArray(26, 'E')},
        {'b', "0E20#G1" + QByteArray(30, ' '), 'a', "0E20", 6, "71" + QByteArray(30, '0')},
    };
    for (const Case &c : cases) {
        SimWire wire;
        EXPECT_EQ(wire.write(c.write, c.body), QByteArray(1, c.write) + '\r');
        EXPECT_EQ(wire.exchange(c.read, c.address).mid(c.from, 32), c.stored) << c.write;
    }
}

// 128 KiB and 512 KiB loggers: the header says so and the memory is that big.
TEST(SimMemoryFaults, PresetMemorySizes)
{
    struct Case
    {
        int chips, typeCode;
        QByteArray sizeField, chipField;
        qint64 bytes;
    };
    const Case cases[] = {{1, 3, "020000", "13", 0x20000}, {4, 3, "080000", "43", 0x80000}, {1, 5, "080000", "15", 0x80000}};
    for (const Case &c : cases) {
        LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
        const QByteArray first = image.data.left(64);
        LoggerPresets::setDataMemory(image, c.chips, c.typeCode);
        EXPECT_EQ(image.header.mid(0x0218, 6), c.sizeField);
        EXPECT_EQ(image.header.mid(0x02C0, 2), c.chipField);
        EXPECT_EQ(image.data.size(), c.bytes);
        EXPECT_EQ(image.data.left(64), first);
    }
}
