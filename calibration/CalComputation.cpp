#include "calibration/CalComputation.h"

#include "calibration/CalNumbers.h"

#include <optional>

namespace {

double x(const CalBoxes &boxes, int field)
{
    return CalNumbers::value(boxes[field]);
}

// (a - b) / (c - d) as a float, or nothing when it cannot be one; a zero
// difference below gives 0.
std::optional<float> ratio(double numerator, float cA, float cB)
{
    const float denominator = cA - cB;
    if (denominator == 0.0f)
        return 0.0f;
    return CalNumbers::toFloat(numerator / double(denominator));
}

} // namespace

void CalComputation::conditionerOutput(const CalBoxes &boxes, int readingField, float *output)
{
    const double excitation = x(boxes, 10);
    if (excitation == 0.0)
        return;
    // The reading at the sensor's calibration excitation, scaled to the
    // logger's excitation, amplified and offset.
    const std::optional<float> value = CalNumbers::toFloat(
        x(boxes, readingField) * x(boxes, 16) * x(boxes, 18) / excitation + x(boxes, 17));
    if (value)
        *output = *value;
}

CalComputation::Result CalComputation::compute(CalBoxes &boxes, float &sensitivity, State &state)
{
    // A conditioner output that cannot be computed stays 0.
    float cA = 0.0f;
    float cB = 0.0f;
    conditionerOutput(boxes, 7, &cA);
    conditionerOutput(boxes, 11, &cB);
    const std::optional<double> euA = CalNumbers::strictValue(boxes[8]);
    const std::optional<double> euB = CalNumbers::strictValue(boxes[12]);
    if (euA && euB) {
        if (const std::optional<float> s = ratio(*euB - *euA, cB, cA))
            sensitivity = *s;
        if (const std::optional<float> slope = ratio(*euA - *euB, cA, cB))
            state.computedSlope = *slope;
    }
    if (const std::optional<float> offset = CalNumbers::toFloat(x(boxes, 8) - double(state.computedSlope) * cA))
        state.computedOffset = *offset;
    boxes[CalFields::LoggerSlope] = CalNumbers::generalText(state.computedSlope);
    boxes[CalFields::LoggerOffset] = CalNumbers::generalText(state.computedOffset);

    // The outputs at counts 0 and 4095, from the boxes as they now stand.
    const double offset = x(boxes, CalFields::LoggerOffset);
    boxes[CalFields::ScOutputAt0] = CalNumbers::generalText(offset);
    const double top = TopCount * x(boxes, CalFields::LoggerSlope) + offset;
    if (CalNumbers::toFloat(top))
        boxes[CalFields::ScOutputAt100] = CalNumbers::generalText(top);
    boxes[CalFields::Sensitivity] = CalNumbers::generalText(sensitivity);

    Result result;
    result.clipsLow = x(boxes, 9) < x(boxes, CalFields::ScOutputAt0);
    result.clipsHigh = x(boxes, 13) > x(boxes, CalFields::ScOutputAt100);
    return result;
}
