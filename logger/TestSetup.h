#pragma once

#include <QDateTime>
#include <QString>
#include <array>

// The test the operator composed on the Setup tab, as the initialization
// writes it into the logger. Plain values: the Setup tab fills them and has
// already checked their ranges.
struct TestSetup
{
    static constexpr int Channels = 8;
    // channelSelect value of an active channel.
    static constexpr int Active = 64;

    quint32 periodSeconds = 0;
    quint32 waitSeconds = 0;      // start delay
    quint32 scans = 0;            // number of scans to take
    QDateTime stopTime;
    // Index = channel number - 1: Active or 0.
    std::array<int, Channels> channelSelect{};
    int highestChannel = 0;       // 1-8, written as the active channel count
    int monitorChannel = 0;       // 0: none, else 1-8
    quint32 calInterval = 0;
    QString projectIdent;         // the description
    int timeZoneOffset = 0;       // whole hours from UTC
};
