#include "sim/LoggerClock.h"

#include "platform/EventLoop.h"

#include <cmath>

LoggerClock::LoggerClock(EventLoop &loop) : m_loop(loop)
{
    anchor(loop.now().toMSecsSinceEpoch());
}

void LoggerClock::anchor(qint64 ms)
{
    m_baseMs = ms;
    m_baseLoopNs = m_loop.elapsedNs();
}

void LoggerClock::advanceTo(const QDateTime &time)
{
    if (time.isValid() && time.toMSecsSinceEpoch() > nowMs())
        anchor(time.toMSecsSinceEpoch());
}

void LoggerClock::setScale(double scale)
{
    if (!(scale > 0))
        return;
    anchor(nowMs());
    m_scale = scale;
}

qint64 LoggerClock::nowMs() const
{
    const qint64 loopNs = m_loop.elapsedNs() - m_baseLoopNs;
    if (m_scale == 1.0)
        return m_baseMs + loopNs / 1000000;
    return m_baseMs + qint64(std::floor(double(loopNs) * m_scale / 1e6));
}

QDateTime LoggerClock::now() const
{
    return QDateTime::fromMSecsSinceEpoch(nowMs());
}

qint64 LoggerClock::loopNsAt(qint64 ms) const
{
    const qint64 ahead = ms - m_baseMs;
    const qint64 loopNs = m_scale == 1.0 ? ahead * 1000000
                                         : qint64(std::ceil(double(ahead) * 1e6 / m_scale));
    return qMax(m_loop.elapsedNs(), m_baseLoopNs + loopNs);
}
