#pragma once

#include <QDateTime>

class EventLoop;

// The logger's own real-time clock, in whole milliseconds since the epoch.
// It runs on the event loop's clock, `scale` logger seconds per loop second,
// and it never runs backwards: set to an earlier time it keeps its reading.
// Scans are scheduled and stamped on it, so a logger kept in an image file
// knows, when it is loaded again, which scans fell due while it was away.
class LoggerClock
{
public:
    explicit LoggerClock(EventLoop &loop);

    // Moves the clock on to `time` (no change when it already reads later).
    void advanceTo(const QDateTime &time);
    void setScale(double scale);
    double scale() const { return m_scale; }

    qint64 nowMs() const;
    QDateTime now() const;
    // The loop time (elapsedNs) at which the clock reads `ms`; never before now.
    qint64 loopNsAt(qint64 ms) const;

private:
    void anchor(qint64 ms);

    EventLoop &m_loop;
    double m_scale = 1.0;
    qint64 m_baseMs = 0;
    qint64 m_baseLoopNs = 0;
};
