#pragma once

#include <QList>
#include <QPointF>
#include <array>
#include <deque>

// The readings the live chart has seen, per channel, kept for a day, and
// what of them a chart of limited width needs to draw: per time bucket the
// lowest and the highest reading, so a day of one reading a second draws as
// fast as a minute and no peak is lost.
class ChartHistory
{
public:
    static constexpr int Channels = 8;
    static constexpr qint64 KeepMs = 24LL * 3600 * 1000 + 60'000;

    struct Reading
    {
        qint64 ms = 0;
        double value = 0.0;
        bool clip = false;
    };

    // Channel 1-8; times in milliseconds since the epoch, not decreasing.
    void add(int channel, qint64 ms, double value, bool clip);
    void clear();

    qint64 latestMs() const { return m_latestMs; }
    int count(int channel) const;
    // The channel's readings from `fromMs` to `toMs` as chart points
    // (x = ms), at most two per bucket of the span split in `buckets`.
    QList<QPointF> points(int channel, qint64 fromMs, qint64 toMs, int buckets) const;
    // The clip readings of the span, every one of them.
    QList<QPointF> clips(int channel, qint64 fromMs, qint64 toMs) const;

private:
    std::array<std::deque<Reading>, Channels> m_readings;
    qint64 m_latestMs = 0;
};
