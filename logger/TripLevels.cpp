#include "logger/TripLevels.h"

#include "logger/FactoryFields.h"
#include "logger/FunctionsSubs.h"
#include "logger/InitLines.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>

const QString TripLevels::DefaultLow = QStringLiteral("0.116");
const QString TripLevels::DefaultHigh = QStringLiteral("3.00");

namespace {

// Settle values are 24-bit fields.
constexpr double MaxSettle = 0xFFFFFF;

// A typed number; empty fields take the default; anything else is refused.
bool number(const QString &field, const QString &fallback, double *value)
{
    const QString text = field.trimmed().isEmpty() ? fallback : field.trimmed();
    bool ok = false;
    *value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(*value);
}

} // namespace

int TripLevels::tripCount(double limitVolts, double low, double high)
{
    const double count = (high - low) / FullScale;
    const double trips = std::round((limitVolts / InputDivider - low) / count);
    return int(std::clamp(trips, 0.0, double(FullScale)));
}

QString TripLevels::line0050(const FactoryFields &f, QString *problem)
{
    double low = 0, high = 0, battery = 0, supply = 0, settle1 = 0, settle2 = 0;
    QStringList found;
    if (!number(f.referenceLow, DefaultLow, &low) || !number(f.referenceHigh, DefaultHigh, &high))
        found << QStringLiteral("the reference voltages are not numbers");
    else if (high <= low)
        found << QStringLiteral("the high reference is not above the low reference");
    if (!number(f.batteryLimit, QStringLiteral("0"), &battery)
        || !number(f.rawSupplyLimit, QStringLiteral("0"), &supply))
        found << QStringLiteral("the battery or supply limit is not a number");
    if (!number(f.firstSettle, QStringLiteral("0"), &settle1)
        || !number(f.secondSettle, QStringLiteral("0"), &settle2) || settle1 < 0 || settle2 < 0
        || settle1 > MaxSettle || settle2 > MaxSettle)
        found << QStringLiteral("a settle value is not a number from 0 to 16777215");
    *problem = found.join(QStringLiteral("\r\n"));
    if (!problem->isEmpty())
        return QString();
    return fnHex4(tripCount(battery, low, high)) + fnHex4(tripCount(supply, low, high))
        + fnHex6(qint32(std::llround(settle1))) + QStringLiteral("FF")
        + fnHex6(qint32(std::llround(settle2))) + fnHex4(qint32(std::lround(low * 1000)))
        + fnHex4(qint32(std::lround(high * 1000))) + QStringLiteral("FF");
}

QString TripLevels::line02D0(const FactoryFields &f)
{
    return InitLines::fit(f.controllerId, 8) + InitLines::fit(f.tcoreSlope, 4)
        + InitLines::fit(f.tcoreOffset, 4);
}
