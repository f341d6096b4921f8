#pragma once

#include "platform/Timer.h"

#include <memory>

class VirtualEventLoop;

// A timer on virtual time that keeps Qt's rule: it never fires while its own
// handler is still running (the handler waited, and the loop ran on inside
// it). A repeating timer skips the ticks that fall due meanwhile, as a QTimer
// does; a single-shot one started again meanwhile fires once the handler has
// returned.
class VirtualTimer : public Timer
{
public:
    explicit VirtualTimer(VirtualEventLoop *loop);
    ~VirtualTimer() override;

    void setIntervalNs(qint64 ns) override { m_intervalNs = ns; }
    qint64 intervalNs() const override { return m_intervalNs; }
    void setSingleShot(bool singleShot) override { m_singleShot = singleShot; }
    void start() override;
    void stop() override;
    bool isActive() const override { return m_pending != 0 || m_heldBack; }

private:
    void due();

    VirtualEventLoop *m_loop;
    qint64 m_intervalNs = 0;
    bool m_singleShot = false;
    quint64 m_pending = 0;
    bool m_inHandler = false;
    // A single shot that fell due while the handler ran.
    bool m_heldBack = false;
    // Tells a running handler's frame whether the timer still exists.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
