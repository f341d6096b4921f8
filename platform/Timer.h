#pragma once

#include <QtGlobal>
#include <functional>

// A timer driven by the EventLoop that created it. Repeats every interval while
// active, like the window timers of the program, unless set to single shot.
// Its handler only ever runs from inside the loop, i.e. while some code yields.
class Timer
{
public:
    virtual ~Timer() = default;

    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    void setIntervalMs(int ms) { setIntervalNs(qint64(ms) * 1000000); }
    int intervalMs() const { return int(intervalNs() / 1000000); }
    virtual void setIntervalNs(qint64 ns) = 0;
    virtual qint64 intervalNs() const = 0;
    virtual void setSingleShot(bool singleShot) = 0;

    // Starting an active timer restarts its interval, as re-enabling does.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    void setEnabled(bool on) { on ? start() : stop(); }

protected:
    void fire()
    {
        if (m_handler)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};
