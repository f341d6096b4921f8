#pragma once

#include <QString>

struct LiveBlockValues;
struct LoggerHeader;

// The factory page's fields that the initialization routines compose header
// lines from: identity texts, memory, trip levels and references, settle
// values, core-temperature calibration and the start pointer. One typed
// place: the header read fills it with what the logger holds and the factory
// page edits it. Number fields stay text, as typed; the routines that write
// them check them first.
struct FactoryFields
{
    // Identity, lines 0200-0230.
    QString modelVersion;
    QString serialNumber;
    QString firmwareVersion;       // 4 characters
    QString memoryInstalledHex;    // 6 hexadecimal digits
    int installedChannels = 0;     // 1-8 to be written
    int adResolution = 0;          // 12 to be written
    QString engineId;
    QString sigConId;
    QString engineSn;
    QString sigConSn;

    // Memory, line 02C0 and the live block's memory type.
    int memoryChips = 0;
    int memoryTypeCode = 0;        // 0-5
    int memoryTypeKilobits = 0;    // the memory-type list's entry: 128, 256, ...

    // Trip levels, line 0050 (volts, as typed; empty references take their defaults).
    QString referenceLow;
    QString referenceHigh;
    QString batteryLimit;
    QString rawSupplyLimit;
    QString firstSettle;           // decimal counts
    QString secondSettle;

    // Line 02D0.
    QString controllerId;
    QString tcoreSlope;
    QString tcoreOffset;

    // Where the test's data starts in memory: hexadecimal, normally empty or 000000.
    QString startPointer;
};

// The fields as the header just read gives them; the trip levels, which the
// header read does not take, stay empty.
FactoryFields factoryFieldsFromHeader(const LoggerHeader &header);
// Takes the reference voltages the live-block read found in 0050.
void takeReferences(FactoryFields &fields, const LiveBlockValues &live);
