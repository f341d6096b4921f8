#pragma once

#include <QDateTime>
#include <QString>
#include <array>

// The test being put together on the Setup tab.
struct SetupState
{
    static constexpr float Selected = 64.0f;

    double scanPeriodValue = 0;
    qint32 periodSeconds = 0;
    // Positions 1-8 are the channels, 9 and 10 a monitor channel's extra
    // readings; index 0 is unused so positions read as channel numbers.
    std::array<float, 12> channelSelect{};
    qint16 highestChannel = 0;
    qint16 monitorChannel = 0;
    qint32 memorySize = 32768;
    qint16 bytesPerReading = 2;
    qint32 calInterval = 0;
    QString calIntervalText;
    qint32 maxScans = 0;
    double durationSeconds = 0;
    QDateTime startTime;
    QDateTime stopTime;
    QDateTime lastStartTime;
    QDateTime lastStopTime;
    QString projectIdent;
};
