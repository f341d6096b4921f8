#include "logger/RealTimeConversion.h"

#include "logger/ChannelCalRecord.h"
#include "logger/EventCapture.h"

#include "logger/RealTimeLine.h"

#include <QRegularExpression>
#include <cmath>

double RealTimeConversion::value(int count, DisplayMode mode, const Calibration &cal)
{
    switch (mode) {
    case DisplayMode::Counts:
        return count;
    case DisplayMode::TrueMillivolts:
        return (count * cal.loggerSlope + cal.loggerOffset) * 1000.0;
    case DisplayMode::EngineeringUnits:
        break;
    }
    return count * cal.channelSlope + cal.channelOffset;
}

QString RealTimeConversion::text(double value, DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::Counts:
        return grouped(value, 0);
    case DisplayMode::TrueMillivolts:
        return grouped(value, 1);
    case DisplayMode::EngineeringUnits:
        break;
    }
    return grouped(value, 2);
}

QString RealTimeConversion::clipText(int count)
{
    if (count == RealTimeLine::MinimumCount)
        return QStringLiteral("LO-CLIP");
    if (count == RealTimeLine::MaximumCount)
        return QStringLiteral("HI-CLIP");
    return {};
}

QString RealTimeConversion::grouped(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    const bool negative = value < 0 && digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    qsizetype point = digits.indexOf(u'.');
    if (point < 0)
        point = digits.size();
    for (qsizetype i = point - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return negative ? u'-' + digits : digits;
}

RealTimeConversion::Calibration RealTimeConversion::calibration(const ChannelCalRecord &record,
                                                                const LiveBlockValues &live)
{
    Calibration cal;
    cal.channelSlope = record.slope.value;
    cal.channelOffset = record.offset.value;
    const double low = live.referenceLowMilliVolts.value / 1000.0;
    cal.loggerSlope = (live.referenceHighMilliVolts.value / 1000.0 - low) / 4096.0;
    cal.loggerOffset = low;
    return cal;
}
