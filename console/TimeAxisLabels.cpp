#include "console/TimeAxisLabels.h"

#include <QDateTime>
#include <array>
#include <cmath>

namespace {
constexpr qint64 Day = 86400;
constexpr std::array<qint64, 22> Steps = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200,
                                          10800, 21600, 43200, Day, 2 * Day, 7 * Day, 28 * Day, 364 * Day};
} // namespace

qint64 TimeAxisLabels::step(double span, int most)
{
    for (qint64 s : Steps)
        if (span / double(s) <= most)
            return s;
    return qint64(std::ceil(span / most / double(Steps.back()))) * Steps.back();
}

QList<TimeAxisLabels::Tick> TimeAxisLabels::ticks(qint64 originUtcMs, int offsetSeconds, double from, double to,
                                                  int most)
{
    QList<Tick> ticks;
    if (!(to > from) || most < 1)
        return ticks;
    const qint64 s = step(to - from, most);
    const QString format = s >= Day ? QStringLiteral("yyyy-MM-dd")
        : s < 60                    ? QStringLiteral("hh:mm:ss")
        : to - from > Day           ? QStringLiteral("MM-dd hh:mm")
                                    : QStringLiteral("hh:mm");
    // Whole steps of the clock's reading, so days start at its midnight.
    const double originClock = double(originUtcMs) / 1000.0 + offsetSeconds;
    const double first = std::ceil((originClock + from) / double(s)) * double(s);
    for (double clock = first; clock <= originClock + to && ticks.size() <= most + 1; clock += double(s)) {
        const QDateTime shown = QDateTime::fromSecsSinceEpoch(qint64(clock), Qt::UTC);
        ticks.append({clock - originClock, shown.toString(format)});
    }
    return ticks;
}
