#pragma once

#include "logger/DisplayMode.h"

#include <QString>

struct ChannelCalRecord;
struct LiveBlockValues;

// Turns a converter count into the value and text the real-time grid shows
// in each display mode.
class RealTimeConversion
{
public:
    struct Calibration
    {
        double channelSlope = 0;  // engineering units per count
        double channelOffset = 0; // engineering units at count 0
        double loggerSlope = 0;   // volts per count
        double loggerOffset = 0;  // volts at count 0
    };

    // The channel's own calibration and the logger's count-to-volts line from
    // the reference voltages of the live block: one count is the reference
    // span over 4096, and count 0 reads the low reference.
    static Calibration calibration(const ChannelCalRecord &record, const LiveBlockValues &live);
    static double value(int count, DisplayMode mode, const Calibration &cal);
    // The reading in the mode's format: counts as whole numbers, true
    // millivolts "#,##0.0", engineering units "#,##0.00".
    static QString text(double value, DisplayMode mode);
    // "LO-CLIP" for count 0, "HI-CLIP" for 4095, else empty.
    static QString clipText(int count);
    static bool isClip(int count) { return !clipText(count).isEmpty(); }

    // A number with thousands separators and a fixed number of decimals,
    // as the formats "#,##0.00", "##,##0.00" and "##,##0" write it.
    static QString grouped(double value, int decimals);
};
