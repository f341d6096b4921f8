#include "console/ChartHistory.h"

#include <algorithm>

namespace {
using Readings = std::deque<ChartHistory::Reading>;

Readings::const_iterator firstAt(const Readings &readings, qint64 ms)
{
    return std::lower_bound(readings.begin(), readings.end(), ms,
                            [](const ChartHistory::Reading &r, qint64 t) { return r.ms < t; });
}
} // namespace

void ChartHistory::add(int channel, qint64 ms, double value, bool clip)
{
    if (channel < 1 || channel > Channels)
        return;
    Readings &readings = m_readings[channel - 1];
    readings.push_back({ms, value, clip});
    m_latestMs = std::max(m_latestMs, ms);
    while (!readings.empty() && readings.front().ms < m_latestMs - KeepMs)
        readings.pop_front();
}

void ChartHistory::clear()
{
    for (Readings &readings : m_readings)
        readings.clear();
    m_latestMs = 0;
}

int ChartHistory::count(int channel) const
{
    return channel >= 1 && channel <= Channels ? int(m_readings[channel - 1].size()) : 0;
}

QList<QPointF> ChartHistory::points(int channel, qint64 fromMs, qint64 toMs, int buckets) const
{
    QList<QPointF> result;
    if (channel < 1 || channel > Channels || toMs <= fromMs || buckets < 1)
        return result;
    const Readings &readings = m_readings[channel - 1];
    auto it = firstAt(readings, fromMs);
    const double bucketMs = double(toMs - fromMs) / buckets;
    while (it != readings.end() && it->ms <= toMs) {
        const int bucket = int(double(it->ms - fromMs) / bucketMs);
        auto low = it;
        auto high = it;
        for (; it != readings.end() && it->ms <= toMs
               && int(double(it->ms - fromMs) / bucketMs) == bucket;
             ++it) {
            if (it->value < low->value)
                low = it;
            if (it->value > high->value)
                high = it;
        }
        // In time order, so the line runs through both extremes.
        const auto a = std::min(low, high, [](auto x, auto y) { return x->ms < y->ms; });
        const auto b = std::max(low, high, [](auto x, auto y) { return x->ms < y->ms; });
        result << QPointF(double(a->ms), a->value);
        if (b != a)
            result << QPointF(double(b->ms), b->value);
    }
    return result;
}

QList<QPointF> ChartHistory::clips(int channel, qint64 fromMs, qint64 toMs) const
{
    QList<QPointF> result;
    if (channel < 1 || channel > Channels)
        return result;
    const Readings &readings = m_readings[channel - 1];
    for (auto it = firstAt(readings, fromMs); it != readings.end() && it->ms <= toMs; ++it) {
        if (it->clip)
            result << QPointF(double(it->ms), it->value);
    }
    return result;
}
