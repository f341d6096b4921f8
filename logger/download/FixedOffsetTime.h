#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The logger's own clock: it keeps the offset from UTC of the zone it was
// initialized in, whatever daylight-saving time does to the PC's zone. Times
// are written in ISO 8601 with that offset ("2026-03-29T01:30:00+01:00"),
// or without an offset when the logger's zone text cannot be read.
class FixedOffsetTime
{
public:
    // initTimeZone: "+hh"/"-hh", hours added to the logger's time to give
    // GMT. startDate: the start of logging as the header gives it.
    FixedOffsetTime(const QString &initTimeZone, const QDateTime &startDate);

    bool offsetKnown() const { return m_offset.has_value(); }
    // "+01:00"; empty when unknown.
    QString offsetText() const;
    // The time of a scan whose row time was computed from the start date:
    // the start's wall-clock reading plus the seconds elapsed since the
    // start. Empty for an invalid time.
    QString scanText(const QDateTime &rowTime) const;
    // A reading of the logger's clock (its initialization, start and stop
    // dates) with the offset. Empty for an invalid date.
    QString readingText(const QDateTime &reading) const;

    // Seconds ahead of UTC from the logger's zone text: "-01" gives 3600.
    static std::optional<int> utcOffsetSeconds(const QString &initTimeZone);
    static QString offsetText(int seconds);
    // A moment of the PC's clock with its own offset.
    static QString isoText(const QDateTime &moment);

private:
    QString withOffset(const QDateTime &wallClock) const;

    std::optional<int> m_offset;
    QDateTime m_start;
};
