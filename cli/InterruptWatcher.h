#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// Ctrl+C (SIGINT) and SIGTERM while it lives: the signal handler only
// writes a byte into a pipe, and the event loop calls the handler given
// here, so nothing unsafe runs inside the signal. The default actions come
// back when it is destroyed.
class InterruptWatcher : public QObject
{
public:
    explicit InterruptWatcher(std::function<void()> onInterrupt);
    ~InterruptWatcher() override;

private:
    void drain();

    std::function<void()> m_onInterrupt;
    int m_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
