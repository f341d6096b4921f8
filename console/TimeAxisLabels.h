#pragma once

#include <QList>
#include <QString>
#include <optional>

// Where the time axis of a chart puts its labels and what they read: the
// logger's own clock reading (its zone's fixed offset, never the PC's),
// at round steps chosen so that a few labels fit.
class TimeAxisLabels
{
public:
    struct Tick
    {
        // Seconds after the origin.
        double x = 0;
        QString label;
    };

    // The axis runs in seconds after originUtcMs; the clock reads UTC plus
    // offsetSeconds.
    static QList<Tick> ticks(qint64 originUtcMs, int offsetSeconds, double from, double to, int most);
    // The step between labels for a span of seconds.
    static qint64 step(double span, int most);
};
