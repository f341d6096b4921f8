#pragma once

#include "platform/Timer.h"

class VirtualEventLoop;

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
    bool isActive() const override { return m_pending != 0; }

private:
    void due();

    VirtualEventLoop *m_loop;
    qint64 m_intervalNs = 0;
    bool m_singleShot = false;
    quint64 m_pending = 0;
};
