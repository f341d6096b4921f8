#include "logger/HeaderMap.h"
#include "logger/LoggerHeader.h"
#include "logger/MemoryChips.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// Marks the bytes a field occupies; fails on a byte claimed twice or outside
// the memory.
void claim(std::map<int, std::set<int>> &used, int address, int offset, int width,
           const QString &what)
{
    for (int byte = address + offset; byte < address + offset + width; ++byte) {
        const int line = byte / HeaderMap::LineBytes * HeaderMap::LineBytes;
        EXPECT_LT(byte, 0x1000) << what.toStdString();
        EXPECT_TRUE(used[line].insert(byte % HeaderMap::LineBytes).second)
            << what.toStdString() << " overlaps at " << HeaderMap::addressText(line).toStdString();
    }
}

} // namespace

TEST(HeaderMap, FieldsNeverOverlapAndStayInsideTheirLines)
{
    std::map<int, std::set<int>> used;
    for (const HeaderFieldSpec &spec : HeaderMap::headerFields())
        claim(used, spec.address, spec.offset, spec.width, "header field");
    for (const LiveFieldSpec &spec : HeaderMap::liveFields()) {
        // The monitor byte is the first channel byte, read for its own bits.
        if (spec.field != LiveField::MonitorByte)
            claim(used, spec.address, spec.offset, spec.width, "live field");
    }
    for (int channel = 0; channel < LoggerHeader::ChannelBlocks; ++channel) {
        for (const ChannelFieldSpec &spec : HeaderMap::channelFields()) {
            if (spec.field != ChannelField::ExcitationUnitsCopy || channel == 0)
                claim(used, HeaderMap::channelLineAddress(channel, spec.line), spec.offset,
                      spec.width, "channel field");
            EXPECT_LE(spec.offset + spec.width, HeaderMap::LineBytes);
        }
    }
    // The lines in use are described at least as far as their data go.
    for (const auto &[first, last] : {std::pair(0x0200, 0x02F0), std::pair(0x0400, 0x0490),
                                      std::pair(0x0500, 0x0560), std::pair(0x0600, 0x0EF0)}) {
        for (int line = first; line <= last; line += 16)
            EXPECT_GE(used[line].size(), 12u) << HeaderMap::addressText(line).toStdString();
    }
    for (int line = 0x0000; line <= 0x0050; line += 16) {
        if (line != 0x0030)
            EXPECT_EQ(used[line].size(), 16u) << HeaderMap::addressText(line).toStdString();
    }
}

TEST(HeaderMap, SegmentsSplitMultiLineFieldsByLine)
{
    const QList<HeaderMap::Segment> identity = HeaderMap::segmentsAt(0x0210);
    ASSERT_EQ(identity.size(), 5);
    EXPECT_EQ(identity[2].spec->field, HeaderField::MemoryInstalled);
    EXPECT_EQ(identity[2].lineOffset, 8);
    EXPECT_EQ(identity[2].width, 6);

    for (int line = 0; line < 4; ++line) {
        const QList<HeaderMap::Segment> description = HeaderMap::segmentsAt(0x0450 + 16 * line);
        ASSERT_EQ(description.size(), 1);
        EXPECT_EQ(description[0].spec->field, HeaderField::Description);
        EXPECT_EQ(description[0].fieldOffset, 16 * line);
        EXPECT_EQ(description[0].lineOffset, 0);
        EXPECT_EQ(description[0].width, 16);
    }
    EXPECT_EQ(HeaderMap::segmentsAt(0x0560).value(0).fieldOffset, 16);
    EXPECT_TRUE(HeaderMap::segmentsAt(0x0580).isEmpty());
    EXPECT_TRUE(HeaderMap::segmentsAt(0x0455).isEmpty());
}

TEST(HeaderMap, AddressesOfChannelBlocksAndTheirText)
{
    EXPECT_EQ(HeaderMap::channelLineAddress(0, 0x00), 0x0600);
    EXPECT_EQ(HeaderMap::channelLineAddress(0, 0x10), 0x0610);
    EXPECT_EQ(HeaderMap::channelLineAddress(7, 0xF0), 0x0DF0);
    EXPECT_EQ(HeaderMap::addressText(0x02B0), "02B0");
    EXPECT_EQ(HeaderMap::addressText(0x0E00), "0E00");
    EXPECT_EQ(HeaderMap::spec(ChannelField::CalType).line, 0xB0);
    EXPECT_EQ(HeaderMap::spec(ChannelField::CalType).offset, 12);
    EXPECT_EQ(HeaderMap::channelFieldsAt(0xE0).size(), 1u);
    EXPECT_EQ(HeaderMap::spec(LiveField::ReferenceHigh).offset, 13);
}

TEST(MemoryChips, SubCalcMemSizeFollowsTheChipTable)
{
    const struct
    {
        int chips, type;
        qint16 code;
        quint32 chipBytes, installed;
        const char *hex;
    } cases[] = {
        {1, 0, 0, 16384, 16384, "004000"},       {1, 1, 1, 32768, 32768, "008000"},
        {2, 2, 2, 65536, 131072, "020000"},      {1, 3, 3, 131072, 131072, "020000"},
        {4, 4, 4, 262144, 1048576, "100000"},    {8, 5, 5, 524288, 4194304, "400000"},
        // No chip-count entry for 0 or 9: no chips.
        {0, 3, 3, 131072, 0, "000000"},          {9, 3, 3, 131072, 0, "000000"},
        // A type outside the list selects its first entry.
        {1, 7, 0, 16384, 16384, "004000"},
    };
    for (const auto &c : cases) {
        LoggerHeader h;
        MemoryChips::subCalcMemSize(h, c.chips, c.type);
        EXPECT_EQ(h.memoryTypeCode, c.code) << c.chips << "/" << c.type;
        EXPECT_EQ(h.chipBytes, c.chipBytes) << c.chips << "/" << c.type;
        EXPECT_EQ(h.memoryInstalled, c.installed) << c.chips << "/" << c.type;
        EXPECT_EQ(h.memoryInstalledHex, c.hex) << c.chips << "/" << c.type;
    }
}

TEST(MemoryChips, AnUnknownChipSizeCountsAsCode3With64KiB)
{
    const int list[] = {128, 64, 8192};
    for (int entry : {1, 2}) {
        LoggerHeader h;
        MemoryChips::subCalcMemSize(h, 2, entry, list);
        EXPECT_EQ(h.memoryTypeCode, 3);
        EXPECT_EQ(h.chipBytes, 65536u);
        EXPECT_EQ(h.memoryInstalled, 131072u);
    }
}
