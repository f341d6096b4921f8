#pragma once

#include "platform/Timer.h"

#include <QDateTime>
#include <functional>
#include <memory>

// Time and the running of pending events. Every wait of the program goes
// through here, so that under virtual time a test of a long time-out costs
// nothing and never hangs.
class EventLoop
{
public:
    virtual ~EventLoop() = default;

    // The PC's local date and time.
    virtual QDateTime now() const = 0;
    // Monotonic time since the loop started, in nanoseconds.
    virtual qint64 elapsedNs() const = 0;

    // Lets pending port, timer and window events run. Waits for the next one
    // when none is pending; a caller loops on its own condition around it.
    virtual void yield() = 0;
    // Like yield(), but returns by the deadline (in elapsedNs() terms) even when
    // nothing happens before it.
    virtual void yieldUntil(qint64 deadlineNs) = 0;

    virtual std::unique_ptr<Timer> createTimer() = 0;

    // Runs fn from the loop itself, after the handler that is running now has
    // returned. Port and timer handlers use it for anything that must wait:
    // Qt delivers no second readyRead inside a readyRead handler and fires no
    // timer inside its own timeout, so a wait started there would starve.
    virtual void post(std::function<void()> fn) = 0;

    // Sets the PC's clock. Returns false with a reason when the system refuses.
    virtual bool setSystemDateTime(const QDateTime &local, QString *error) = 0;

    double elapsedSeconds() const { return double(elapsedNs()) / 1e9; }
};
