#pragma once

#include "platform/Port.h"

// A serial device with nothing on the line: it opens (or refuses to, when a
// test says so) and remembers what was done to it.
class FakePort : public Port
{
public:
    bool refuseOpen = false;
    // What the system would say about the refusal.
    QString refuseReason;
    int openCount = 0;
    QByteArray written;

    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool open() override
    {
        if (refuseOpen)
            return false;
        ++openCount;
        m_open = true;
        return true;
    }
    QString openErrorText() const override { return refuseOpen ? refuseReason : QString(); }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool applySettings(const QString &settings) override
    {
        m_settings = settings;
        return true;
    }
    QString settings() const override { return m_settings; }
    void setDtr(bool on) override { m_dtr = on; }
    void setRts(bool on) override { m_rts = on; }
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    // No logger attached: the busy level.
    bool cts() const override { return true; }
    bool dsr() const override { return false; }
    bool cd() const override { return false; }
    int bytesWaiting() const override { return 0; }
    int takeByte() override { return -1; }
    void write(const QByteArray &bytes) override { written += bytes; }
    void discardOutput() override {}

private:
    QString m_name;
    QString m_settings;
    bool m_open = false;
    bool m_dtr = false;
    bool m_rts = false;
};
