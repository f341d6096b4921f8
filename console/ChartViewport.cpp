#include "console/ChartViewport.h"

#include <algorithm>
#include <cmath>

void ChartViewport::setWhole(double from, double to)
{
    if (!(to > from))
        to = from + 1;
    m_wholeFrom = from;
    m_wholeTo = to;
    m_from = from;
    m_to = to;
    Q_EMIT changed();
}

void ChartViewport::show(double from, double to)
{
    if (!std::isfinite(from) || !std::isfinite(to))
        return;
    const double whole = m_wholeTo - m_wholeFrom;
    double span = std::clamp(to - from, whole * MinimumPart, whole);
    from = std::clamp(from, m_wholeFrom, m_wholeTo - span);
    if (from == m_from && from + span == m_to)
        return;
    m_from = from;
    m_to = from + span;
    Q_EMIT changed();
}

void ChartViewport::zoom(double factor, double at)
{
    if (!(factor > 0))
        return;
    at = std::clamp(at, m_from, m_to);
    show(at - (at - m_from) / factor, at + (m_to - at) / factor);
}

void ChartViewport::pan(double part)
{
    const double shift = (m_to - m_from) * part;
    show(m_from + shift, m_to + shift);
}
