#include "console/ChartDownsampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::pair<qsizetype, qsizetype> ChartDownsampler::span(const std::vector<double> &xs, double from, double to)
{
    const auto first = std::lower_bound(xs.begin(), xs.end(), from);
    const auto last = std::upper_bound(first, xs.end(), to);
    const qsizetype begin = std::max<qsizetype>(0, qsizetype(first - xs.begin()) - 1);
    const qsizetype end = std::min<qsizetype>(qsizetype(xs.size()), qsizetype(last - xs.begin()) + 1);
    return {begin, end};
}

QList<QPointF> ChartDownsampler::minMax(const std::vector<double> &xs, const double *values, qsizetype stride,
                                        double from, double to, int buckets)
{
    const auto [begin, end] = span(xs, from, to);
    QList<QPointF> points;
    if (end - begin <= 2 * qsizetype(buckets)) {
        for (qsizetype i = begin; i < end; ++i)
            if (std::isfinite(values[i * stride]))
                points.append(QPointF(xs[size_t(i)], values[i * stride]));
        return points;
    }
    points.reserve(2 * buckets + 4);
    const double width = (to - from) / buckets;
    qsizetype low = -1;
    qsizetype high = -1;
    qint64 bucket = std::numeric_limits<qint64>::min();
    auto flush = [&] {
        if (low < 0)
            return;
        const qsizetype a = std::min(low, high), b = std::max(low, high);
        points.append(QPointF(xs[size_t(a)], values[a * stride]));
        if (b != a)
            points.append(QPointF(xs[size_t(b)], values[b * stride]));
        low = high = -1;
    };
    for (qsizetype i = begin; i < end; ++i) {
        const double y = values[i * stride];
        if (!std::isfinite(y))
            continue;
        const qint64 b = qint64(std::floor((xs[size_t(i)] - from) / width));
        if (b != bucket) {
            flush();
            bucket = b;
        }
        if (low < 0 || y < values[low * stride])
            low = i;
        if (high < 0 || y > values[high * stride])
            high = i;
    }
    flush();
    return points;
}
