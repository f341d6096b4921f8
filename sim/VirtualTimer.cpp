#include "sim/VirtualTimer.h"

#include "sim/VirtualEventLoop.h"

VirtualTimer::VirtualTimer(VirtualEventLoop *loop)
    : m_loop(loop)
{
}

VirtualTimer::~VirtualTimer()
{
    *m_alive = false;
    stop();
}

void VirtualTimer::start()
{
    stop();
    m_pending = m_loop->scheduleAfter(m_intervalNs, [this] { due(); });
}

void VirtualTimer::stop()
{
    m_heldBack = false;
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
    if (m_inHandler) {
        m_heldBack = m_singleShot;
        return;
    }
    const std::shared_ptr<bool> alive = m_alive;
    m_inHandler = true;
    fire();
    if (!*alive)
        return;
    m_inHandler = false;
    if (m_heldBack) {
        m_heldBack = false;
        m_pending = m_loop->scheduleAfter(0, [this] { due(); });
    }
}
