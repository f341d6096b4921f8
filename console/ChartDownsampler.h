#pragma once

#include <QList>
#include <QPointF>
#include <vector>

// Cuts a long series down to what a chart of a given width can show: the
// lowest and highest point of each pixel-wide bucket, in their order, so
// peaks survive and a million readings draw as fast as a thousand. Points
// that are not numbers are left out.
class ChartDownsampler
{
public:
    // xs ascending; the k-th y is values[k * stride]. Points just outside
    // [from, to] are kept so the line runs to the edges.
    static QList<QPointF> minMax(const std::vector<double> &xs, const double *values, qsizetype stride,
                                 double from, double to, int buckets);
    // The indexes of xs in [from, to], widened by one on either side.
    static std::pair<qsizetype, qsizetype> span(const std::vector<double> &xs, double from, double to);
};
