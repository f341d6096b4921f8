#pragma once

#include "sim/ChannelCalibration.h"
#include "sim/HeaderWriter.h"
#include "sim/LoggerImage.h"
#include "sim/ScanWriter.h"

#include <QDateTime>
#include <memory>

// What the factory writes into a logger's identity lines.
struct LoggerIdentity
{
    QString modelVersion;        // 8 characters
    QString serialNumber;        // 8
    QString headerVersion = "0762";
    QString firmwareVersion;     // 4, the second character is the series digit
    int installedChannels = 8;
    int memoryChips = 1;
    int memoryTypeCode = 3;      // 0-5: 16, 32, 64, 128, 256 or 512 KiB chips
    QString engineId, sigConId, engineSn, sigConSn; // 8 each
    QString controllerId;        // 8
};

// A test as an initialization sets it up.
struct TestSetup
{
    int periodSeconds = 60;
    int waitSeconds = 0;
    int scans = 1000;
    int activeChannels = 1;      // channels 1..N
    int monitorChannel = 0;      // 0 for none, else 1-8
    int calInterval = 0;
    QString description;
    QString initializedBy;
    QDateTime initTime;          // when the operator initialized the logger
    int batteryInits = 1;
    int totalInits = 1;
    // What the initializing program wrote to 0210 and 0490.
    QString headerVersion = "0762";
};

// Composes a logger image step by step, each step writing exactly what the
// factory, an initialization, the logging firmware or a download would have
// written, so that the result is a logger the program can meet in the field.
class PresetBuilder
{
public:
    static constexpr quint8 StatusSupplyLow = 0x01;
    static constexpr quint8 StatusBatteryLow = 0x02;
    static constexpr quint8 StatusStopped = 0x04;
    static constexpr quint8 StatusLogging = 0x10;
    static constexpr quint8 StatusMemoryFull = 0x20;
    static constexpr quint8 StatusDone = 0x40;
    static constexpr quint8 StatusDump = 0x80;

    // A logger as it leaves the factory on the given date: identity, trip
    // levels, factory lines, default channel blocks, a first-initialized live
    // block, erased data memory, logging off.
    PresetBuilder(const LoggerIdentity &identity, const QDateTime &factoryDate);
    // The writers point into the image it owns.
    PresetBuilder(const PresetBuilder &) = delete;
    PresetBuilder &operator=(const PresetBuilder &) = delete;

    static qint64 chipBytes(int memoryTypeCode);
    qint64 memoryInstalled() const;
    // Battery trip level in A/D counts, as the trip-level line holds it.
    int batteryTripCount() const { return m_batteryTrip; }

    void calibrate(int channel, const ChannelCalibration &calibration);
    // Free text of the notes page; line breaks are stored as "@@".
    void setNotes(const QString &notes);

    // Writes the test lines and the live block as an initialization does,
    // and leaves logging and dump output on.
    void initializeTest(const TestSetup &setup);
    QDateTime startTime() const;
    // Records one scan as the firmware does, keeping the live block current;
    // false when memory is full (the status byte then says so). The wake-up
    // scans the firmware takes before the start are not counted off the test.
    bool recordScan(const QList<int> &counts, std::optional<std::pair<int, int>> monitorMaxMin,
                    bool counted = true);
    // A battery or supply event, found before a scan: the status bits are
    // set, a status word goes into memory and the live block's event fields
    // take the counters of that moment.
    void statusEvent(quint8 statusBits);
    // All scans taken: logging stops with "test done" (dump output stays as
    // it was).
    void finishTest();
    // The lines a download writes back: its time and the file name.
    void markDownloaded(const QDateTime &when, const QString &fileName);
    // The logger's clock reads `now`; a test still logging takes its next
    // counted scan one period after the last.
    void stampClock(const QDateTime &now);
    // When counted scan k (k >= 0) is due, or the wake-up scans (k = -1, and
    // k = -2 after a delay over 255 s) were taken.
    QDateTime scanTime(int k) const;

    const LoggerIdentity &identity() const { return m_identity; }
    const TestSetup &setup() const { return m_setup; }
    int scansTaken() const { return m_scansTaken; }
    LoggerImage image() const { return m_image; }

private:
    void writeIdentity(const QDateTime &factoryDate);
    void writeFactoryTestLines(const QDateTime &factoryDate);
    void writeTripLevels();
    void writeFirstInitLiveBlock();
    void writeLiveCounters();
    QString timeZoneText(const QDateTime &when) const;
    QString liveFields() const;

    LoggerIdentity m_identity;
    LoggerImage m_image;
    HeaderWriter m_header;
    std::unique_ptr<ScanWriter> m_scans;
    TestSetup m_setup;
    int m_batteryTrip = 0;
    quint8 m_memoryByte = 0;
    int m_scansTaken = 0;
    int m_scansLeft = 0;
    int m_waitsLeft = 0;
};
