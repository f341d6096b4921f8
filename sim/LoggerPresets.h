#pragma once

#include "sim/LoggerImage.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

// Ready-made loggers for tests, benchmarks and demo mode. Each is a complete
// image (identity, calibration of every channel, test lines, live block,
// notes, data memory and status byte) as a real logger would hold it after
// the history its name tells.
enum class LoggerPreset {
    // Just out of the factory: default calibration, no test, memory erased.
    Fresh,
    // A test that ran to its end: thousands of scans with a monitor channel
    // and one battery-low status event, never downloaded.
    Finished,
    // A test initialized earlier and still logging, some scans taken.
    Logging,
    // A finished test whose download time and file name are in the header.
    Downloaded,
    // A logger of the older series (series digit 3), which the program refuses.
    Older,
    // The firmware variant that drives the pH remote display (version "Z522"),
    // a pH sensor calibrated on channel 1.
    Ph,
    // A current-series logger whose finished, downloaded test was set up by
    // an earlier release of the program: header version "0751", which the
    // next initialization warns about before it writes "0762".
    OldHeader,
};

class LoggerPresets
{
public:
    // The names used on command lines, in enum order: "fresh", "finished",
    // "logging", "downloaded", "older", "ph", "oldheader".
    static QStringList names();
    static QString name(LoggerPreset preset);
    // Case-insensitive; nothing for an unknown name.
    static std::optional<LoggerPreset> fromName(const QString &name);

    // Builds the preset as it stands at `now` (tests dates and the number of
    // scans a running test has taken are placed relative to it).
    // The logger's clock reads `now`; a running test carries its schedule.
    static LoggerImage build(LoggerPreset preset, const QDateTime &now);
    // The same logger running another firmware: `version` (4 characters,
    // such as "Z820", "Z812" or "Z805") replaces the firmware version of
    // line 0210.
    static void setFirmwareVersion(LoggerImage &image, const QByteArray &version);

    // The same logger with other data memory chips: `chips` chips of type
    // `typeCode` (0-5: 16, 32, 64, 128, 256 or 512 KiB each). Line 02C0 and
    // the memory size of 0210 say so, and the data memory is resized (what
    // it held stays where it fits, the rest reads erased). 1 chip of type 3
    // is a 128 KiB logger, 1 of type 5 (or 4 of type 3) a 512 KiB one.
    static void setDataMemory(LoggerImage &image, int chips, int typeCode);

private:
    static LoggerImage buildAt(LoggerPreset preset, const QDateTime &now);
};
