#pragma once

#include "platform/Timer.h"

#include <QTimer>

class QtTimer : public Timer
{
public:
    QtTimer();

    void setIntervalNs(qint64 ns) override;
    qint64 intervalNs() const override { return m_intervalNs; }
    void setSingleShot(bool singleShot) override { m_timer.setSingleShot(singleShot); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    qint64 m_intervalNs = 0;
};
