#include "logger/HeaderMap.h"

#include <algorithm>
#include <array>

namespace {

using F = FieldForm;
using H = HeaderField;
using C = ChannelField;
using L = LiveField;

// In address order; a field's first line gives its place.
constexpr std::array HeaderTable = {
    HeaderFieldSpec{H::ModelVersion, 0x0200, 0, 8, F::Text, true},
    HeaderFieldSpec{H::SerialNumber, 0x0200, 8, 8, F::Text, true},
    HeaderFieldSpec{H::HeaderVersion, 0x0210, 0, 4, F::Text, true},
    HeaderFieldSpec{H::FirmwareVersion, 0x0210, 4, 4, F::Text, true},
    HeaderFieldSpec{H::MemoryInstalled, 0x0210, 8, 6, F::Hex24, true},
    HeaderFieldSpec{H::InstalledChannels, 0x0210, 14, 1, F::HexDigit, true},
    HeaderFieldSpec{H::AdResolution, 0x0210, 15, 1, F::HexDigit, true},
    HeaderFieldSpec{H::EngineId, 0x0220, 0, 8, F::Text, true},
    HeaderFieldSpec{H::SigConId, 0x0220, 8, 8, F::Text, true},
    HeaderFieldSpec{H::EngineSn, 0x0230, 0, 8, F::Text, true},
    HeaderFieldSpec{H::SigConSn, 0x0230, 8, 8, F::Text, true},
    HeaderFieldSpec{H::FactoryId, 0x0240, 0, 16, F::Text, true},
    HeaderFieldSpec{H::MakerLines, 0x0250, 0, 96, F::Text, false},
    HeaderFieldSpec{H::ClientInfo, 0x02B0, 0, 16, F::Text, true},
    HeaderFieldSpec{H::MemoryChips, 0x02C0, 0, 1, F::DecimalDigit, true},
    HeaderFieldSpec{H::MemoryTypeCode, 0x02C0, 1, 1, F::DecimalDigit, true},
    HeaderFieldSpec{H::MemoryBlanks, 0x02C0, 2, 14, F::Text, false},
    HeaderFieldSpec{H::ControllerId, 0x02D0, 0, 8, F::Text, true},
    HeaderFieldSpec{H::TcoreSlope, 0x02D0, 8, 4, F::DecimalText, true},
    HeaderFieldSpec{H::TcoreOffset, 0x02D0, 12, 4, F::DecimalText, true},
    HeaderFieldSpec{H::FactoryFiller, 0x02E0, 0, 32, F::Text, false},
    HeaderFieldSpec{H::TestPointer, 0x0400, 0, 6, F::Hex24, true},
    HeaderFieldSpec{H::InitializedBy, 0x0400, 6, 10, F::Text, true},
    HeaderFieldSpec{H::ScanPeriod, 0x0410, 0, 4, F::HexWord, true},
    HeaderFieldSpec{H::WaitTime, 0x0410, 4, 6, F::Hex24, true},
    HeaderFieldSpec{H::ScanCount, 0x0410, 10, 6, F::Hex24, true},
    HeaderFieldSpec{H::InitDate, 0x0420, 0, 12, F::DateSerial, true},
    HeaderFieldSpec{H::BatteryInits, 0x0420, 12, 4, F::HexWord, true},
    HeaderFieldSpec{H::StartDate, 0x0430, 0, 12, F::DateSerial, true},
    HeaderFieldSpec{H::TotalInits, 0x0430, 12, 4, F::HexWord, true},
    HeaderFieldSpec{H::StopDate, 0x0440, 0, 12, F::DateSerial, true},
    HeaderFieldSpec{H::ActiveChannelCount, 0x0440, 12, 1, F::HexDigit, true},
    HeaderFieldSpec{H::InitTimeZone, 0x0440, 13, 3, F::Text, true},
    HeaderFieldSpec{H::Description, 0x0450, 0, 64, F::Text, true},
    HeaderFieldSpec{H::InitHeaderVersion, 0x0490, 0, 4, F::Text, true},
    HeaderFieldSpec{H::InitHeaderFiller, 0x0490, 4, 12, F::Text, false},
    HeaderFieldSpec{H::BatteryDate, 0x0500, 0, 12, F::DateSerial, true},
    HeaderFieldSpec{H::BatteryBlanks, 0x0500, 12, 4, F::Text, false},
    HeaderFieldSpec{H::Uninterpreted, 0x0510, 0, 48, F::Text, false},
    HeaderFieldSpec{H::LastDownloadTime, 0x0540, 0, 16, F::Text, true},
    HeaderFieldSpec{H::LastDownloadFile, 0x0550, 0, 32, F::Text, true},
    HeaderFieldSpec{H::Notes, 0x0E00, 0, 256, F::Text, true},
};

// In line order.
constexpr std::array ChannelTable = {
    ChannelFieldSpec{C::ModelNumber, 0x00, 0, 8, F::Text},
    ChannelFieldSpec{C::SerialNumber, 0x00, 8, 8, F::Text},
    ChannelFieldSpec{C::EngUnits, 0x10, 0, 4, F::Text},
    ChannelFieldSpec{C::Slope, 0x10, 4, 12, F::Scientific},
    ChannelFieldSpec{C::Location, 0x20, 0, 4, F::Text},
    ChannelFieldSpec{C::Offset, 0x20, 4, 12, F::Scientific},
    ChannelFieldSpec{C::ScExcitation, 0x30, 0, 12, F::Scientific},
    ChannelFieldSpec{C::ExcitationUnits, 0x30, 12, 4, F::Text},
    ChannelFieldSpec{C::ScOffset, 0x40, 0, 12, F::Scientific},
    ChannelFieldSpec{C::SlopeHexHigh, 0x40, 12, 4, F::HexText},
    ChannelFieldSpec{C::ScGain, 0x50, 0, 12, F::Scientific},
    ChannelFieldSpec{C::SlopeHexLow, 0x50, 12, 4, F::HexText},
    ChannelFieldSpec{C::CalDue, 0x60, 0, 12, F::DateSerial},
    ChannelFieldSpec{C::OffsetHexHigh, 0x60, 12, 4, F::HexText},
    ChannelFieldSpec{C::MilliAt0, 0x70, 0, 12, F::Scientific},
    ChannelFieldSpec{C::OffsetHexLow, 0x70, 12, 4, F::HexText},
    ChannelFieldSpec{C::EuAt0, 0x80, 0, 12, F::Scientific},
    ChannelFieldSpec{C::FsEuAt0, 0x90, 0, 12, F::Scientific},
    ChannelFieldSpec{C::MilliAt100, 0xA0, 0, 12, F::Scientific},
    ChannelFieldSpec{C::EuAt100, 0xB0, 0, 12, F::Scientific},
    ChannelFieldSpec{C::CalType, 0xB0, 12, 1, F::DecimalDigit},
    ChannelFieldSpec{C::FsEuAt100, 0xC0, 0, 12, F::Scientific},
    ChannelFieldSpec{C::Excitation, 0xD0, 0, 12, F::Scientific},
    ChannelFieldSpec{C::ExcitationUnitsCopy, 0xD0, 12, 4, F::Text},
    ChannelFieldSpec{C::ScOutputAt0, 0xE0, 0, 12, F::Scientific},
    ChannelFieldSpec{C::ScOutputAt100, 0xF0, 0, 12, F::Scientific},
};

constexpr std::array LiveTable = {
    LiveFieldSpec{L::Zero0, 0x0000, 0, 2},
    LiveFieldSpec{L::EepromMarker, 0x0000, 2, 1},
    LiveFieldSpec{L::MemoryByte, 0x0000, 3, 1},
    LiveFieldSpec{L::EventNextSample, 0x0000, 4, 2},
    LiveFieldSpec{L::EventWaits, 0x0000, 6, 3},
    LiveFieldSpec{L::EventScans, 0x0000, 9, 3},
    LiveFieldSpec{L::EventChannels, 0x0000, 12, 1},
    LiveFieldSpec{L::EventPointer, 0x0000, 13, 3},
    LiveFieldSpec{L::Zero1, 0x0010, 0, 2},
    LiveFieldSpec{L::CalInterval, 0x0010, 2, 2},
    LiveFieldSpec{L::PresetPeriod, 0x0010, 4, 2},
    LiveFieldSpec{L::PresetWait, 0x0010, 6, 3},
    LiveFieldSpec{L::PresetScans, 0x0010, 9, 3},
    LiveFieldSpec{L::PresetChannels, 0x0010, 12, 1},
    LiveFieldSpec{L::PresetStartPointer, 0x0010, 13, 3},
    // Same layout as 0010, for the running test (its pointer ends the data).
    LiveFieldSpec{L::ActiveBlock, 0x0020, 0, 16},
    // Bit 7 set: a monitor channel is selected; bits 0-3 its number.
    LiveFieldSpec{L::MonitorByte, 0x0040, 0, 1},
    // One byte per channel 1-8; bit 6 set when the channel is active.
    LiveFieldSpec{L::ChannelConfig, 0x0040, 0, 8},
    LiveFieldSpec{L::ConfigZero, 0x0040, 8, 8},
    LiveFieldSpec{L::BatteryTrip, 0x0050, 0, 2},
    LiveFieldSpec{L::SupplyTrip, 0x0050, 2, 2},
    LiveFieldSpec{L::FirstSettle, 0x0050, 4, 3},
    LiveFieldSpec{L::Filler1, 0x0050, 7, 1},
    LiveFieldSpec{L::SecondSettle, 0x0050, 8, 3},
    LiveFieldSpec{L::ReferenceLow, 0x0050, 11, 2},
    LiveFieldSpec{L::ReferenceHigh, 0x0050, 13, 2},
    LiveFieldSpec{L::Filler2, 0x0050, 15, 1},
};

template<typename Table, typename Field>
const auto &find(const Table &table, Field field)
{
    return *std::find_if(table.begin(), table.end(),
                         [field](const auto &entry) { return entry.field == field; });
}

int linesSpanned(const HeaderFieldSpec &spec)
{
    return (spec.offset + spec.width + HeaderMap::LineBytes - 1) / HeaderMap::LineBytes;
}

} // namespace

std::span<const HeaderFieldSpec> HeaderMap::headerFields()
{
    return HeaderTable;
}

std::span<const ChannelFieldSpec> HeaderMap::channelFields()
{
    return ChannelTable;
}

std::span<const LiveFieldSpec> HeaderMap::liveFields()
{
    return LiveTable;
}

const HeaderFieldSpec &HeaderMap::spec(HeaderField field)
{
    return find(HeaderTable, field);
}

const ChannelFieldSpec &HeaderMap::spec(ChannelField field)
{
    return find(ChannelTable, field);
}

const LiveFieldSpec &HeaderMap::spec(LiveField field)
{
    return find(LiveTable, field);
}

QList<HeaderMap::Segment> HeaderMap::segmentsAt(int address)
{
    QList<Segment> segments;
    for (const HeaderFieldSpec &spec : HeaderTable) {
        const int line = (address - spec.address) / LineBytes;
        if (address < spec.address || address % LineBytes != 0 || line >= linesSpanned(spec))
            continue;
        // Where this line's share of the field starts and ends, in field terms.
        const int lineStart = line * LineBytes - spec.offset;
        const int from = std::max(lineStart, 0);
        const int to = std::min(lineStart + LineBytes, spec.width);
        segments.append({&spec, from - lineStart, from, to - from});
    }
    return segments;
}

std::span<const ChannelFieldSpec> HeaderMap::channelFieldsAt(int line)
{
    const auto first = std::find_if(ChannelTable.begin(), ChannelTable.end(),
                                    [line](const auto &entry) { return entry.line == line; });
    const auto last = std::find_if(first, ChannelTable.end(),
                                   [line](const auto &entry) { return entry.line != line; });
    return {first, last};
}

QString HeaderMap::addressText(int address)
{
    return QStringLiteral("%1").arg(address & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

int HeaderMap::channelLineAddress(int channelIndex, int line)
{
    return (FirstChannelPage + channelIndex) * 0x100 + line;
}

QString HeaderMap::take(const QString &lineData, int offset, int width)
{
    return lineData.mid(offset, width);
}
