#pragma once

// The colours the link gives its indicators, by meaning; the windows paint them.
enum class IndicatorColour {
    Red,       // off, lost or busy
    Green,     // DTR on, DSR held
    DarkGreen, // port open, CTS ready, logger present, CD held
    Yellow,    // status-byte warnings
    Orange,
};
