#pragma once

#include <QString>
#include <QtGlobal>

// The arithmetic of the Setup tab: how many scans fit the logger's memory,
// how long they last, and how the figures are shown. Pure functions, so the
// window only decides when to run them.
namespace SetupCalculations {

enum class Unit { None, Hours, Minutes, Secs };

// Why a scan period is refused for a unit; Accepted when it is not.
enum class PeriodCheck { Accepted, HoursTooSmall, HoursTooLarge, MinutesOutOfRange, SecsOutOfRange };

PeriodCheck checkPeriod(Unit unit, double value);

// Rounds to the nearest whole number, halves to even, and keeps the result
// within [min, max] whatever the value (infinities and huge values included).
qint64 roundClamped(double value, qint64 min, qint64 max);

struct MemoryLayout
{
    qint32 memorySize = 0;
    qint16 highestChannel = 0;
    qint16 bytesPerReading = 0;
    bool monitorOn = false;
    qint32 calInterval = 0;
};

// Fills in the stand-ins for figures the logger did not give: one channel,
// 32768 bytes, two bytes a reading.
MemoryLayout withDefaults(MemoryLayout layout);

// Scans that fit in memory: each scan takes a reading of every channel up to
// the highest selected one (two more with a monitor), and calibration scans
// take their share. Never below 0.
qint32 maxScans(const MemoryLayout &layout);

// calInterval from the calibration-scan field: rounded, 0-255; text that is
// not a number gives 0.
qint32 calIntervalFrom(const QString &text);
// The interval as the logger takes it: the field text left-padded to 4 characters.
QString calIntervalText(const QString &fieldText);

struct Duration
{
    qint32 maxScans = 0;       // replaced by 10 when at or beyond the unit's cap
    qint32 periodSeconds = 0;  // 0 when no unit is chosen
    double durationSeconds = 0;
};

// SubLoggingDuration's figures for the chosen unit; with no unit the
// duration stays what it was.
Duration loggingDuration(Unit unit, double value, qint32 maxScans, double previousDuration);

// "D:hh:mm:ss (D:H:M:S)" for a number of seconds; days are not limited.
QString dayTimeText(qint64 seconds);

// The user message after a unit is chosen. The product is formed in 64 bits,
// so long durations show their true length.
QString durationMessage(qint32 maxScans, qint32 periodSeconds);

} // namespace SetupCalculations
