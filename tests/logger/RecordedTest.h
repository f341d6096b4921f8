#pragma once

#include "sim/ChannelCalibration.h"
#include "sim/LoggerImage.h"

#include <QDateTime>
#include <QList>
#include <optional>

// A test a simulated logger holds: its setup, the calibration of its
// channels and every scan as the firmware recorded it, wake-up scans first.
struct RecordedTest
{
    struct Scan
    {
        QList<int> counts;
        std::optional<std::pair<int, int>> monitor;
        // A status event (status bits) recorded just before the scan.
        quint8 eventBefore = 0;
    };

    int periodSeconds = 60;
    int waitSeconds = 60;
    int counted = 0;
    int channels = 1;
    int monitor = 0;
    QString description;
    QString initializedBy;
    QDateTime initTime;
    QList<ChannelCalibration> calibration; // channels 1, 2, ...
    QList<Scan> scans;
    bool finished = true;
    // The logger's data memory: chips of 16 << code KiB.
    int memoryChips = 1;
    int memoryTypeCode = 1;

    int wakeUps() const { return waitSeconds > 255 ? 2 : 1; }
    // The start of logging: the initialization plus the wait.
    QDateTime start() const { return initTime.addSecs(waitSeconds); }
    // A test of the given shape whose counts run through the channels.
    static RecordedTest ramp(int channels, int monitor, int counted, int waitSeconds = 60);
    LoggerImage image() const;
};
