#include "logger/RunningStatistics.h"

#include <cmath>

void RunningStatistics::reset()
{
    *this = RunningStatistics();
}

void RunningStatistics::add(double x)
{
    if (!std::isfinite(x))
        return;
    ++m_count;
    const double delta = x - m_mean;
    m_mean += delta / double(m_count);
    m_m2 += delta * (x - m_mean);
    if (x > m_max)
        m_max = x;
    if (x < m_min)
        m_min = x;
}

double RunningStatistics::threeSigma() const
{
    return 3.0 * std::sqrt(std::fabs(variance()));
}
