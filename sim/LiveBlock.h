#pragma once

#include <QByteArray>
#include <QtGlobal>

// The binary fields of header page 00 that the logger's firmware works from
// while a test runs: the event line 0000, the preset line 0010, the line in
// force 0020, the channel configuration 0040 and the trip levels 0050.
// Multi-byte fields are big-endian. Works on the 4096 header bytes of a
// LoggerImage; the presets and the tests use it to build and read images.
class LiveBlock
{
public:
    static constexpr int EventLine = 0x0000;
    static constexpr int PresetLine = 0x0010;
    static constexpr int ActiveLine = 0x0020;
    static constexpr int ChannelLine = 0x0040;
    static constexpr int TripLine = 0x0050;
    static constexpr quint8 EepromValid = 0xA5;

    // Layout shared by 0010 and 0020.
    struct Setup
    {
        quint32 calInterval = 0;
        quint32 period = 0; // seconds
        quint32 wait = 0; // seconds before the first scan
        quint32 scans = 0; // in 0020: scans still to take
        quint32 channels = 0; // active channel count N
        quint32 pointer = 0; // in 0020: next free data address
        bool operator==(const Setup &) const = default;
    };

    // The event fields of 0000 (bytes 4-15).
    struct Event
    {
        quint32 nextSample = 0;
        quint32 waits = 0;
        quint32 scans = 0;
        quint32 channels = 0;
        quint32 pointer = 0;
        bool operator==(const Event &) const = default;
    };

    static quint32 field(const QByteArray &header, int address, int offset, int width);
    static void setField(QByteArray &header, int address, int offset, int width, quint32 value);

    static Setup setup(const QByteArray &header, int line);
    static void setSetup(QByteArray &header, int line, const Setup &setup);
    static Event event(const QByteArray &header);
    static void setEvent(QByteArray &header, const Event &event);

    // Monitor channel 1-8 from byte 0 of 0040, or 0 when none is selected.
    static int monitorChannel(const QByteArray &header);
    // 0040 byte 6 flag of channel 1-8.
    static bool channelActive(const QByteArray &header, int channel);
    static int batteryTrip(const QByteArray &header) { return int(field(header, TripLine, 0, 2)); }
    static int supplyTrip(const QByteArray &header) { return int(field(header, TripLine, 2, 2)); }
};
