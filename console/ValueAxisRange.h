#pragma once

#include <utility>

// The value axis's range for the lowest and highest value drawn: 5 % room
// above and below, one unit either side of a flat line, 0 to 1 when nothing
// is drawn.
inline std::pair<double, double> valueAxisRange(double low, double high)
{
    if (!(low <= high)) {
        low = 0;
        high = 1;
    } else if (low == high) {
        low -= 1;
        high += 1;
    }
    const double margin = (high - low) * 0.05;
    return {low - margin, high + margin};
}
