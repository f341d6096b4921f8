#pragma once

#include "platform/EventLoop.h"

#include <QElapsedTimer>
#include <QTimer>

// The real event loop: Qt's own, with the PC's clock.
class QtEventLoop : public EventLoop
{
public:
    QtEventLoop();

    QDateTime now() const override;
    qint64 elapsedNs() const override;
    void yield() override;
    void yieldUntil(qint64 deadlineNs) override;
    std::unique_ptr<Timer> createTimer() override;
    void post(std::function<void()> fn) override;
    bool setSystemDateTime(const QDateTime &local, QString *error) override;

private:
    void processWaiting(int maxWaitMs);

    QElapsedTimer m_clock;
    // Wakes a waiting yield so that it never blocks for long when nothing happens.
    QTimer m_wake;
    // Posted calls are queued to this object, so none outlives the loop.
    QObject m_context;
};
