#pragma once

#include <QString>

struct FactoryFields;

// The trip-level line 0050 and the controller line 02D0 from the factory
// fields. The references default to 0.116 V and 3.00 V when empty; one
// converter count is (high - low) / 4096 volts.
class TripLevels
{
public:
    static const QString DefaultLow;
    static const QString DefaultHigh;
    // Volts at the battery and supply inputs per volt at the converter.
    static constexpr double InputDivider = 7.66666;
    static constexpr int FullScale = 4096;

    // Trip count of a limit in volts, rounded and held within 0-4096.
    static int tripCount(double limitVolts, double low, double high);

    // 0050, or empty with the reason when the references or settle values
    // are not numbers or the high reference is not above the low one.
    static QString line0050(const FactoryFields &fields, QString *problem);
    static QString line02D0(const FactoryFields &fields);
};
