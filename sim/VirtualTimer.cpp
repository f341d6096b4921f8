#include "sim/VirtualTimer.h"

#include "sim/VirtualEventLoop.h"

VirtualTimer::VirtualTimer(VirtualEventLoop *loop)
    : m_loop(loop)
{
}

VirtualTimer::~VirtualTimer()
{
    stop();
}

void VirtualTimer::start()
{
    stop();
    m_pending = m_loop->scheduleAfter(m_intervalNs, [this] { due(); });
}

void VirtualTimer::stop()
{
    if (m_pending) {
        m_loop->cancel(m_pending);
        m_pending = 0;
    }
}

void VirtualTimer::due()
{
    // Re-arm before the handler runs, so the handler may stop, restart or
    // destroy the timer.
    m_pending = 0;
    if (!m_singleShot)
        m_pending = m_loop->scheduleAfter(qMax<qint64>(m_intervalNs, 1), [this] { due(); });
    fire();
}
