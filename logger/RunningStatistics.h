#pragma once

#include <QtGlobal>

// Average, spread and standard deviation of one channel's readings, kept by
// Welford's running update: the mean and the sum of squared distances from
// it are carried instead of a sum of squares, so a long run of large, steady
// readings keeps its small variance instead of losing it to cancellation.
class RunningStatistics
{
public:
    static constexpr double NoMaximum = -1e99;
    static constexpr double NoMinimum = 1e99;

    void reset();
    void add(double x);

    qint64 count() const { return m_count; }
    double average() const { return m_mean; }
    double maximum() const { return m_max; }
    double minimum() const { return m_min; }
    // Largest minus smallest reading.
    double maxDeviation() const { return m_count > 0 ? m_max - m_min : 0.0; }
    // The population variance (divided by the count).
    double variance() const { return m_count > 0 ? m_m2 / double(m_count) : 0.0; }
    double threeSigma() const;

private:
    qint64 m_count = 0;
    double m_mean = 0.0;
    double m_m2 = 0.0;
    double m_max = NoMaximum;
    double m_min = NoMinimum;
};
