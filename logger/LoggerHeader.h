#pragma once

#include "logger/ChannelCalRecord.h"

#include <QDateTime>
#include <QString>
#include <algorithm>
#include <array>

// The logger's header as last read (or as just written by an initialization
// or loaded from a header file): identity, current test, calibration of each
// channel, notes and the raw lines read. One instance, owned by the
// communications layer; HeaderReader fills it. Text fields keep the widths
// they have in the logger's memory; lines that were not read keep their
// previous values.
struct LoggerHeader
{
    // Records held; only channels 1-8 have a block in the logger's memory.
    static constexpr int ChannelRecords = 12;
    static constexpr int ChannelBlocks = 8;

    // Page 02: identity
    QString modelVersion;          // 8, 0200
    QString serialNumber;          // 8, 0200
    QString headerVersion;         // 4, 0210
    QString firmwareVersion;       // 4, 0210; second character: model series digit
    quint32 memoryInstalled = 0;   // bytes; 0210, then from the chip fields
    QString memoryInstalledHex;    // 6 hex digits of memoryInstalled
    // As the logger states it (one hex digit, so up to 15); see channelBlocks().
    qint16 installedChannels = 0;  // 0210
    qint16 adResolution = 0;       // 0210
    QString engineId;              // 8, 0220
    QString sigConId;              // 8, 0220
    QString engineSn;              // 8, 0230
    QString sigConSn;              // 8, 0230
    QString factoryId;             // 16, 0240
    QString clientInfo;            // 16, 02B0
    qint16 memoryChips = 0;        // 02C0
    qint16 memoryTypeCode = 0;     // 02C0, 0-5
    quint32 chipBytes = 0;         // from memoryTypeCode
    QString controllerId;          // 8, 02D0
    float tcoreSlope = 0.0f;       // 02D0
    float tcoreOffset = 0.0f;      // 02D0

    // Pages 04-05: current test
    quint32 testPointer = 0;       // 0400
    QString initializedBy;         // 10, 0400
    quint32 scanPeriod = 0;        // seconds, 0410
    quint32 waitTime = 0;          // seconds, 0410
    quint32 scanCount = 0;         // scans, 0410
    // Invalid when the logger's date serial is not a number.
    QDateTime initDate;            // 0420
    QDateTime startDate;           // 0430
    QDateTime stopDate;            // 0440
    QDateTime batteryDate;         // 0500
    quint32 batteryInits = 0;      // 0420
    quint32 totalInits = 0;        // 0430
    qint16 activeChannelCount = 0; // 0440
    QString initTimeZone;          // 3, 0440, e.g. "+08"
    QString description;           // 64, 0450-0480
    QString initHeaderVersion;     // 4, 0490
    QString lastDownloadTime;      // 16, 0540
    QString lastDownloadFile;      // 32, 0550 + 0560

    // Page 0E, decoded: "@@" become CR LF, the text ends before the "^".
    QString notes;

    // Set when the firmware shows the current model series (115200 baud).
    bool hiSpeedCapable = false;
    // Cleared when a header read starts, set when one completes without a
    // failed line; initialization and download require it.
    bool headerValid = false;

    // Every character line read, as read, each followed by CR LF.
    QString headerText;

    // Index = channel number - 1.
    std::array<ChannelCalRecord, ChannelRecords> channel{};
    // The calibration as the logger holds it, as last read or written: the
    // records above may meanwhile hold values recalled from a file.
    std::array<ChannelCalRecord, ChannelRecords> channelInLogger{};

    // The channel blocks that exist for this logger: the installed channels,
    // but never more than the eight blocks of pages 06-0D.
    int channelBlocks() const
    {
        return std::clamp<int>(installedChannels, 0, ChannelBlocks);
    }
};
