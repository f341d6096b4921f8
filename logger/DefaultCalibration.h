#pragma once

#include <QStringList>

struct ChannelCalRecord;

// The default calibration block of one channel: the sixteen text lines
// x00-xF0 and the same numbers for the in-memory record. Odd channels are
// pressure channels (PSI), even ones temperature channels (DegF).
class DefaultCalibration
{
public:
    static constexpr int Lines = 16;

    // Channel 1-8; millivolt excitation for "MC" models, else current loop.
    static QStringList lines(int channel, bool millivolts);
    static void apply(ChannelCalRecord &record, int channel, bool millivolts);
};
