#include "platform/qt/QtTimer.h"

QtTimer::QtTimer()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { fire(); });
}

void QtTimer::setIntervalNs(qint64 ns)
{
    m_intervalNs = ns;
    // Qt counts whole milliseconds; a shorter interval still waits one.
    const qint64 ms = (ns + 999999) / 1000000;
    m_timer.setInterval(int(qBound<qint64>(0, ms, qint64(INT_MAX))));
}
