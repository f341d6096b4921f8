#include "sim/VirtualEventLoop.h"

#include "sim/VirtualTimer.h"

VirtualEventLoop::VirtualEventLoop(const QDateTime &start)
    : m_start(start)
{
}

QDateTime VirtualEventLoop::now() const
{
    return m_start.addMSecs(m_nowNs / 1000000 + m_clockOffsetMs);
}

quint64 VirtualEventLoop::scheduleAt(qint64 atNs, std::function<void()> fn)
{
    const Key key{qMax(atNs, m_nowNs), m_nextSeq++};
    m_queue.emplace(key, std::move(fn));
    m_keys.emplace(key.seq, key);
    return key.seq;
}

void VirtualEventLoop::cancel(quint64 id)
{
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return;
    m_queue.erase(it->second);
    m_keys.erase(it);
}

void VirtualEventLoop::checkLimit(qint64 atNs) const
{
    const qint64 allowedNs = qMax(m_runStartNs + m_limitNs, m_advanceEndNs);
    if (atNs > allowedNs)
        throw Stalled(QStringLiteral("virtual time ran %1 s past the test's last step while "
                                     "code was still waiting")
                          .arg(double(m_limitNs) / 1e9)
                          .toStdString());
}

void VirtualEventLoop::runNext()
{
    auto first = m_queue.begin();
    const Key key = first->first;
    checkLimit(key.at);
    std::function<void()> fn = std::move(first->second);
    m_queue.erase(first);
    m_keys.erase(key.seq);
    m_nowNs = qMax(m_nowNs, key.at);
    fn();
}

void VirtualEventLoop::yield()
{
    if (m_queue.empty())
        throw Stalled(QStringLiteral("deadlock at %1 s: code is waiting for an event, "
                                     "but no timer, port or scripted event is pending")
                          .arg(double(m_nowNs) / 1e9)
                          .toStdString());
    runNext();
}

void VirtualEventLoop::yieldUntil(qint64 deadlineNs)
{
    if (!m_queue.empty() && m_queue.begin()->first.at <= deadlineNs) {
        runNext();
        return;
    }
    checkLimit(deadlineNs);
    m_nowNs = qMax(m_nowNs, deadlineNs);
}

void VirtualEventLoop::advance(qint64 delayNs)
{
    const qint64 end = m_nowNs + delayNs;
    const qint64 outerEnd = m_advanceEndNs;
    if (m_advanceDepth++ == 0)
        m_runStartNs = m_nowNs;
    m_advanceEndNs = qMax(m_advanceEndNs, end);
    struct Leave
    {
        VirtualEventLoop *loop;
        qint64 outerEnd;
        ~Leave()
        {
            loop->m_advanceEndNs = outerEnd;
            if (--loop->m_advanceDepth == 0)
                loop->m_runStartNs = loop->m_nowNs;
        }
    } leave{this, outerEnd};
    while (!m_queue.empty() && m_queue.begin()->first.at <= end)
        runNext();
    m_nowNs = qMax(m_nowNs, end);
}

std::unique_ptr<Timer> VirtualEventLoop::createTimer()
{
    return std::make_unique<VirtualTimer>(this);
}

bool VirtualEventLoop::setSystemDateTime(const QDateTime &local, QString *error)
{
    if (!m_clockSettable) {
        if (error)
            *error = QStringLiteral("Operation not permitted");
        return false;
    }
    m_clockOffsetMs += now().msecsTo(local);
    return true;
}
