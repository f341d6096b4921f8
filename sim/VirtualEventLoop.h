#pragma once

#include "platform/EventLoop.h"

#include <QDateTime>
#include <functional>
#include <map>
#include <stdexcept>

// Virtual time for tests: an ordered queue of timer, port and scripted events.
// Waiting jumps time straight to the next event, so a 3-second time-out costs
// nothing and runs the same way every time. Code that waits with nothing left
// to happen would hang forever on a real loop; here it is reported at once.
class VirtualEventLoop : public EventLoop
{
public:
    // Thrown when code waits for an event and none can ever come, or when
    // virtual time runs past the limit (a wait that never ends).
    struct Stalled : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };

    explicit VirtualEventLoop(
        const QDateTime &start = QDateTime(QDate(2011, 9, 23), QTime(10, 0, 0)));

    QDateTime now() const override;
    qint64 elapsedNs() const override { return m_nowNs; }
    void yield() override;
    void yieldUntil(qint64 deadlineNs) override;
    std::unique_ptr<Timer> createTimer() override;
    void post(std::function<void()> fn) override { scheduleAfter(0, std::move(fn)); }
    bool setSystemDateTime(const QDateTime &local, QString *error) override;

    // Runs fn at the given virtual time (or now, if that has passed); returns
    // an id for cancel().
    quint64 scheduleAt(qint64 atNs, std::function<void()> fn);
    quint64 scheduleAfter(qint64 delayNs, std::function<void()> fn)
    {
        return scheduleAt(m_nowNs + delayNs, std::move(fn));
    }
    void cancel(quint64 id);

    // Runs every event due within the next delay and leaves time at its end.
    void advance(qint64 delayNs);
    void advanceSeconds(double seconds) { advance(qint64(seconds * 1e9)); }
    bool hasPending() const { return !m_queue.empty(); }

    // Whether setting the PC clock succeeds, as for a user with or without the
    // privilege to do it.
    void setClockSettable(bool settable) { m_clockSettable = settable; }
    // Longest stretch of virtual time code may wait for on its own: counted
    // from the end of the test's last advance() (or the loop's start), and
    // beyond the end of a running advance(). A repeating timer that keeps the
    // queue full does not hide a wait that never ends.
    void setTimeLimitNs(qint64 limitNs) { m_limitNs = limitNs; }

private:
    struct Key
    {
        qint64 at;
        quint64 seq;
        bool operator<(const Key &o) const { return at != o.at ? at < o.at : seq < o.seq; }
    };

    void runNext();
    void checkLimit(qint64 atNs) const;

    QDateTime m_start;
    qint64 m_clockOffsetMs = 0;
    qint64 m_nowNs = 0;
    quint64 m_nextSeq = 1;
    std::map<Key, std::function<void()>> m_queue;
    std::map<quint64, Key> m_keys;
    bool m_clockSettable = true;
    qint64 m_limitNs = qint64(2) * 24 * 3600 * 1000000000LL;
    // Where the current run started counting, and how far advance() allows.
    qint64 m_runStartNs = 0;
    qint64 m_advanceEndNs = 0;
    int m_advanceDepth = 0;
};
