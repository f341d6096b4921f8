#pragma once

#include <QList>
#include <QString>
#include <span>

// How a header field is written in the logger's memory.
enum class FieldForm {
    Text,         // fixed-width characters, blank-padded
    HexDigit,     // 1 upper-case hexadecimal digit
    HexWord,      // 4 hexadecimal digits
    Hex24,        // 6 hexadecimal digits
    DateSerial,   // "00000.000000": days since 1899-12-30, time as the fraction
    Scientific,   // "+1.23457E+03"
    DecimalDigit, // 1 decimal digit
    DecimalText,  // a decimal number in a text field ("0.25", "-40 ")
    HexText,      // hexadecimal digits kept as text (halves of a hex float)
    Binary,       // bytes of the hexadecimal lines of page 00 (widths in bytes)
};

// Fields of the character lines of pages 02-05 and 0E.
enum class HeaderField {
    ModelVersion, SerialNumber,
    HeaderVersion, FirmwareVersion, MemoryInstalled, InstalledChannels, AdResolution,
    EngineId, SigConId, EngineSn, SigConSn,
    FactoryId, MakerLines, ClientInfo,
    MemoryChips, MemoryTypeCode, MemoryBlanks,
    ControllerId, TcoreSlope, TcoreOffset, FactoryFiller,
    TestPointer, InitializedBy,
    ScanPeriod, WaitTime, ScanCount,
    InitDate, BatteryInits, StartDate, TotalInits, StopDate, ActiveChannelCount, InitTimeZone,
    Description,
    InitHeaderVersion, InitHeaderFiller,
    BatteryDate, BatteryBlanks, Uninterpreted,
    LastDownloadTime, LastDownloadFile,
    Notes,
};

// Fields of one channel's calibration block (lines x00-xF0 of its page).
enum class ChannelField {
    ModelNumber, SerialNumber, EngUnits, Slope, Location, Offset,
    ScExcitation, ExcitationUnits, ScOffset, SlopeHexHigh, ScGain, SlopeHexLow,
    CalDue, OffsetHexHigh, MilliAt0, OffsetHexLow, EuAt0, FsEuAt0, MilliAt100,
    EuAt100, CalType, FsEuAt100, Excitation, ExcitationUnitsCopy,
    ScOutputAt0, ScOutputAt100,
};

// Fields of the live logging block, page 00 (hexadecimal lines).
enum class LiveField {
    Zero0, EepromMarker, MemoryByte, EventNextSample, EventWaits, EventScans,
    EventChannels, EventPointer,
    Zero1, CalInterval, PresetPeriod, PresetWait, PresetScans, PresetChannels,
    PresetStartPointer,
    ActiveBlock,
    MonitorByte, ChannelConfig, ConfigZero,
    BatteryTrip, SupplyTrip, FirstSettle, Filler1, SecondSettle, ReferenceLow,
    ReferenceHigh, Filler2,
};

// One field: the first line's address, where it starts in the line, its
// width and form. A field wider than 16 runs on through the following lines
// (the description over 0450-0480, the download file name over 0550-0560).
struct HeaderFieldSpec
{
    HeaderField field;
    int address;
    int offset;
    int width;
    FieldForm form;
    bool read; // whether the header read interprets it
};

struct ChannelFieldSpec
{
    ChannelField field;
    int line; // offset of the line within the channel's page, 0x00-0xF0
    int offset;
    int width;
    FieldForm form;
};

// Offsets and widths in bytes; byte n of a line is its hex digits 2n+1, 2n+2.
struct LiveFieldSpec
{
    LiveField field;
    int address;
    int offset;
    int width;
};

// The logger's header memory: 16-byte lines at addresses 0000-0FF0. Page 00
// holds binary lines travelling as 32 hex digits, pages 02-0E text lines.
class HeaderMap
{
public:
    static constexpr int LineBytes = 16;
    static constexpr int FirstChannelPage = 0x06;
    static constexpr int ChannelBlockLines = 16;
    static constexpr int NotesAddress = 0x0E00;
    static constexpr int NotesLines = 16;

    static std::span<const HeaderFieldSpec> headerFields();
    static std::span<const ChannelFieldSpec> channelFields();
    static std::span<const LiveFieldSpec> liveFields();

    static const HeaderFieldSpec &spec(HeaderField field);
    static const ChannelFieldSpec &spec(ChannelField field);
    static const LiveFieldSpec &spec(LiveField field);

    // The part of a field that lies in one line.
    struct Segment
    {
        const HeaderFieldSpec *spec;
        int lineOffset;  // where it starts in the line
        int fieldOffset; // where it lands in the field
        int width;
    };
    // The fields, or parts of fields, in the line at address, in map order.
    static QList<Segment> segmentsAt(int address);
    // The fields of a channel block's line (offset 0x00-0xF0 in its page).
    static std::span<const ChannelFieldSpec> channelFieldsAt(int line);

    // "0200": four upper-case hex digits.
    static QString addressText(int address);
    // Address of a line of the block of channel index 0-7 (page 06 + index).
    static int channelLineAddress(int channelIndex, int line);

    // The characters of a field in the 16 data characters of its line;
    // shorter when the line is.
    static QString take(const QString &lineData, int offset, int width);
};
