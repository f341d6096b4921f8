#pragma once

#include "calibration/CalFields.h"

// Compute Cal Factors: from the sensor's two calibration points and the
// conditioner's excitation, gain and offset, the slope and offset the logger
// applies to its converter counts, the sensitivity, and the outputs at counts
// 0 and 4095 with the clip checks. Every step runs; a step whose result is
// not a finite 32-bit float (an overflow, a text at A or B that is not a
// number) is skipped and its result keeps its previous value.
class CalComputation
{
public:
    static constexpr int TopCount = 4095;

    // The channel's results of the last run; zero until the first.
    struct State
    {
        float computedSlope = 0.0f;
        float computedOffset = 0.0f;
    };

    struct Result
    {
        // The channel cannot report values as low (high) as the full scale asks.
        bool clipsLow = false;
        bool clipsHigh = false;
    };

    // Updates the boxes of slope, offset, outputs and sensitivity, the
    // channel's sensitivity value and its state.
    static Result compute(CalBoxes &boxes, float &sensitivity, State &state);

private:
    static void conditionerOutput(const CalBoxes &boxes, int readingField, float *output);
};
