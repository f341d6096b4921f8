#pragma once

// How the real-time readings are shown: converted by each channel's
// calibration, as the true input in millivolts, or as the converter's counts.
enum class DisplayMode { EngineeringUnits, TrueMillivolts, Counts };
