#include "logger/download/FixedOffsetTime.h"

namespace {
const QString WallClockFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");
constexpr int LargestOffsetHours = 14;

// The date and time a clock shows, taken as a plain reading (no zone rules).
QDateTime reading(const QDateTime &time)
{
    return QDateTime(time.date(), time.time(), Qt::UTC);
}
} // namespace

FixedOffsetTime::FixedOffsetTime(const QString &initTimeZone, const QDateTime &startDate)
    : m_offset(utcOffsetSeconds(initTimeZone))
    , m_start(startDate)
{
}

std::optional<int> FixedOffsetTime::utcOffsetSeconds(const QString &initTimeZone)
{
    bool ok = false;
    const int hours = initTimeZone.trimmed().toInt(&ok);
    if (!ok || std::abs(hours) > LargestOffsetHours)
        return std::nullopt;
    // GMT minus local time: the offset ahead of UTC is its negative.
    return -hours * 3600;
}

QString FixedOffsetTime::offsetText(int seconds)
{
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(QChar(seconds < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QChar(u'0'))
        .arg(minutes % 60, 2, 10, QChar(u'0'));
}

QString FixedOffsetTime::offsetText() const
{
    return m_offset ? offsetText(*m_offset) : QString();
}

QString FixedOffsetTime::withOffset(const QDateTime &wallClock) const
{
    return wallClock.toString(WallClockFormat) + offsetText();
}

QString FixedOffsetTime::scanText(const QDateTime &rowTime) const
{
    if (!rowTime.isValid() || !m_start.isValid())
        return QString();
    return withOffset(reading(m_start).addSecs(m_start.secsTo(rowTime)));
}

QString FixedOffsetTime::readingText(const QDateTime &time) const
{
    return time.isValid() ? withOffset(reading(time)) : QString();
}

QString FixedOffsetTime::isoText(const QDateTime &moment)
{
    if (!moment.isValid())
        return QString();
    return moment.toString(WallClockFormat) + offsetText(moment.offsetFromUtc());
}
