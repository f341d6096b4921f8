#pragma once

#include "platform/Port.h"

#include <QByteArray>
#include <QList>
#include <functional>

// A port that passes everything to another one and keeps the conversation:
// what the PC wrote and what it took in, in the order it happened.
class TapPort : public Port
{
public:
    struct Segment
    {
        bool fromPc;
        QByteArray bytes;
        bool operator==(const Segment &o) const { return fromPc == o.fromPc && bytes == o.bytes; }
    };

    explicit TapPort(Port &inner, std::function<qint64()> clock = {})
        : m_inner(inner)
        , m_clock(std::move(clock))
    {
        m_inner.setEventHandler([this](Event event) { raise(event); });
    }

    const QList<Segment> &conversation() const { return m_conversation; }
    // Everything the PC wrote.
    QByteArray written() const
    {
        QByteArray all;
        for (const Segment &s : m_conversation)
            if (s.fromPc)
                all += s.bytes;
        return all;
    }
    // How many times the letter was sent as a command: written while no
    // command was under way, or again after a letter that got no echo.
    int lettersWritten(char letter) const
    {
        enum { Idle, AwaitingEcho, InBody } state = Idle;
        int count = 0;
        for (const Write &w : m_writes) {
            if (state == AwaitingEcho && w.heardBefore)
                state = InBody;
            if (state == InBody) {
                if (w.bytes == "\r")
                    state = Idle;
                continue;
            }
            if (w.bytes == QByteArray(1, letter))
                ++count;
            state = AwaitingEcho;
        }
        return count;
    }
    // When each write happened, by the clock given.
    QList<qint64> writeTimes() const
    {
        QList<qint64> times;
        for (const Write &w : m_writes)
            times.append(w.atNs);
        return times;
    }
    // What the PC wrote since the last call, and forgets the conversation.
    QByteArray takeWritten()
    {
        const QByteArray all = written();
        forget();
        return all;
    }
    // What the PC wrote, carriage returns shown as "|".
    QString writtenText() const { return QString::fromLatin1(written()).replace(u'\r', u'|'); }
    void forget()
    {
        m_conversation.clear();
        m_writes.clear();
    }

    void setPortName(const QString &name) override { m_inner.setPortName(name); }
    QString portName() const override { return m_inner.portName(); }
    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    bool applySettings(const QString &settings) override { return m_inner.applySettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    void setDtr(bool on) override { m_inner.setDtr(on); }
    void setRts(bool on) override { m_inner.setRts(on); }
    bool dtr() const override { return m_inner.dtr(); }
    bool rts() const override { return m_inner.rts(); }
    bool cts() const override { return m_inner.cts(); }
    bool dsr() const override { return m_inner.dsr(); }
    bool cd() const override { return m_inner.cd(); }
    int bytesWaiting() const override { return m_inner.bytesWaiting(); }
    int takeByte() override
    {
        const int byte = m_inner.takeByte();
        if (byte >= 0) {
            record(false, QByteArray(1, char(byte)));
            m_heard = true;
        }
        return byte;
    }
    void write(const QByteArray &bytes) override
    {
        record(true, bytes);
        m_writes.append({bytes, m_heard, m_clock ? m_clock() : 0});
        m_heard = false;
        m_inner.write(bytes);
        if (m_writeObserver)
            m_writeObserver();
    }
    // Called after every write, for tests that act at a point of a sequence.
    void setWriteObserver(std::function<void()> observer) { m_writeObserver = std::move(observer); }
    void discardOutput() override { m_inner.discardOutput(); }

private:
    void record(bool fromPc, const QByteArray &bytes)
    {
        if (!m_conversation.isEmpty() && m_conversation.last().fromPc == fromPc)
            m_conversation.last().bytes += bytes;
        else
            m_conversation.append({fromPc, bytes});
    }

    struct Write
    {
        QByteArray bytes;
        bool heardBefore; // bytes were taken in since the previous write
        qint64 atNs;
    };

    Port &m_inner;
    std::function<qint64()> m_clock;
    std::function<void()> m_writeObserver;
    QList<Segment> m_conversation;
    QList<Write> m_writes;
    bool m_heard = false;
};
