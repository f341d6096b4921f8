#include "logger/SetupCalculations.h"

#include "platform/StartupSettings.h"

#include <cmath>
#include <limits>

namespace SetupCalculations {

namespace {

constexpr qint32 DefaultMemorySize = 0x8000;
constexpr qint16 DefaultBytesPerReading = 2;
constexpr qint32 MaxCalInterval = 255;
// A max-scans figure at or beyond these is no figure at all: the duration is
// worked out from 10 scans instead.
constexpr qint32 SecsCapAbove = 86000000;
constexpr qint32 MinutesCap = 3932000;
constexpr qint32 HoursCap = 65500;
constexpr qint32 CappedScans = 10;

} // namespace

PeriodCheck checkPeriod(Unit unit, double value)
{
    switch (unit) {
    case Unit::Hours:
        if (value < 0.1)
            return PeriodCheck::HoursTooSmall;
        if (value > 18.2)
            return PeriodCheck::HoursTooLarge;
        return PeriodCheck::Accepted;
    case Unit::Minutes:
        return value >= 0.1 && value <= 1092 ? PeriodCheck::Accepted : PeriodCheck::MinutesOutOfRange;
    case Unit::Secs:
        return value >= 1 && value <= 3600 ? PeriodCheck::Accepted : PeriodCheck::SecsOutOfRange;
    case Unit::None:
        break;
    }
    return PeriodCheck::Accepted;
}

qint64 roundClamped(double value, qint64 min, qint64 max)
{
    if (std::isnan(value))
        return min;
    const double rounded = std::nearbyint(value); // to nearest, ties to even
    if (rounded <= double(min))
        return min;
    if (rounded >= double(max))
        return max;
    return qint64(rounded);
}

MemoryLayout withDefaults(MemoryLayout layout)
{
    if (layout.highestChannel < 1)
        layout.highestChannel = 1;
    if (layout.memorySize <= 0)
        layout.memorySize = DefaultMemorySize;
    if (layout.bytesPerReading <= 0)
        layout.bytesPerReading = DefaultBytesPerReading;
    return layout;
}

qint32 maxScans(const MemoryLayout &given)
{
    const MemoryLayout m = withDefaults(given);
    const double readings = m.highestChannel + (m.monitorOn ? 2 : 0);
    double scans = double(roundClamped(double(m.memorySize) / readings / m.bytesPerReading - 1, 0,
                                       std::numeric_limits<qint32>::max()));
    if (m.calInterval > 0)
        scans = double(roundClamped(scans / (m.calInterval + 4) * m.calInterval - 6, 0,
                                    std::numeric_limits<qint32>::max()));
    return qint32(scans);
}

qint32 calIntervalFrom(const QString &text)
{
    double value = 0;
    if (!StartupSettings::parseNumber(text, &value))
        return 0;
    return qint32(roundClamped(value, 0, MaxCalInterval));
}

QString calIntervalText(const QString &fieldText)
{
    return (QStringLiteral("0000") + fieldText).right(4);
}

Duration loggingDuration(Unit unit, double value, qint32 maxScans, double previousDuration)
{
    Duration d{maxScans, 0, previousDuration};
    double secondsPerUnit = 1;
    switch (unit) {
    case Unit::Secs:
        if (d.maxScans > SecsCapAbove)
            d.maxScans = CappedScans;
        break;
    case Unit::Minutes:
        if (d.maxScans >= MinutesCap)
            d.maxScans = CappedScans;
        secondsPerUnit = 60;
        break;
    case Unit::Hours:
        if (d.maxScans >= HoursCap)
            d.maxScans = CappedScans;
        secondsPerUnit = 3600;
        break;
    case Unit::None:
        return d;
    }
    d.durationSeconds = double(d.maxScans) * value * secondsPerUnit;
    d.periodSeconds = qint32(roundClamped(value * secondsPerUnit, std::numeric_limits<qint32>::min(),
                                          std::numeric_limits<qint32>::max()));
    return d;
}

QString dayTimeText(qint64 seconds)
{
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    const quint64 s = seconds < 0 ? quint64(-(seconds + 1)) + 1 : quint64(seconds);
    const quint64 rest = s % 86400;
    return sign + QString::number(s / 86400) + u':'
        + QStringLiteral("%1:%2:%3")
              .arg(rest / 3600, 2, 10, QLatin1Char('0'))
              .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
              .arg(rest % 60, 2, 10, QLatin1Char('0'))
        + QStringLiteral(" (D:H:M:S)");
}

QString durationMessage(qint32 maxScans, qint32 periodSeconds)
{
    return QString::number(maxScans) + QStringLiteral(" Max Scans - Max Duration is ")
        + dayTimeText(qint64(periodSeconds) * qint64(maxScans));
}

} // namespace SetupCalculations
