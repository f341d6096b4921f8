#pragma once

#include "platform/Port.h"
#include "platform/PortSettings.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <vector>
#include <memory>

class EventLoop;
class LoggerSimulator;
class Timer;

// The serial port of the PC with the simulated logger on the other end of
// its cable. Every byte travels for 10 bit times of its sender's rate, on the
// event loop's clock: instantly under virtual time, in real time in the demo.
// The logger starts each answer after a configurable latency. A byte whose
// sender and receiver do not use the same rate and format (8N1 on the
// logger's side) arrives garbled.
//
// open() succeeds while the adapter is in its socket: the simulator is its
// own line, whatever the name. While the port is closed nothing is sent or
// received and no event raised.
//
// Events reach the port's owner the way QSerialPort delivers them: received
// bytes are buffered as they arrive, but no second Receive event is raised
// while the owner's Receive handler is still running (bytes arriving then
// wait, unannounced, for the next arrival, even across close and reopen);
// line changes are picked up by a watch timer that never fires inside its
// own handler.
class SimPort : public Port
{
public:
    SimPort(EventLoop &loop, LoggerSimulator &logger);
    ~SimPort() override;

    // Time from the logger's decision to answer to the start of its first byte.
    void setReplyLatencyNs(qint64 ns) { m_latencyNs = ns; }
    qint64 replyLatencyNs() const { return m_latencyNs; }

    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool applySettings(const QString &settings) override;
    QString settings() const override { return m_settings.toString(); }
    void setDtr(bool on) override { m_dtr = on; }
    void setRts(bool on) override { m_rts = on; }
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    bool cts() const override;
    bool dsr() const override;
    bool cd() const override;
    int bytesWaiting() const override { return int(m_received.size() - m_readPos); }
    int takeByte() override;
    void write(const QByteArray &bytes) override;
    void discardOutput() override;

    // Sees every byte put on the cable, as it is put there: what the PC
    // writes (fromLogger false) and what the logger sends (true), before
    // either has travelled.
    using WireTap = std::function<void(bool fromLogger, const QByteArray &bytes)>;
    void setWireTap(WireTap tap) { m_tap = std::move(tap); }

    // The USB adapter pulled from (false) or put back into (true) its socket:
    // pulling it closes the port and raises DeviceLost; open() fails until
    // it is back.
    void setAdapterPresent(bool present);
    bool adapterPresent() const { return m_adapterPresent; }

private:
    struct InFlight
    {
        qint64 dueNs; // when its stop bit ends
        quint8 byte;
        int baud;
    };

    static qint64 charNs(int baud);
    bool pcSpeaks8N1() const;
    void loggerSends(const QByteArray &bytes, int baud);
    void lineChanged(Port::Event event);
    void deliverDue();
    void announceReceived();
    void watchLines();
    void arm();

    EventLoop &m_loop;
    LoggerSimulator &m_logger;
    WireTap m_tap;
    std::unique_ptr<Timer> m_timer;
    std::unique_ptr<Timer> m_announce;
    std::unique_ptr<Timer> m_lineWatch;
    std::vector<Port::Event> m_lineEvents;
    bool m_inReceiveHandler = false;
    bool m_adapterPresent = true;
    QString m_name = QStringLiteral("SIM");
    PortSettings m_settings;
    bool m_open = false;
    bool m_dtr = false;
    bool m_rts = false;
    qint64 m_latencyNs = 0;
    std::deque<InFlight> m_toLogger;
    std::deque<InFlight> m_toPc;
    qint64 m_toLoggerFreeNs = 0;
    qint64 m_toPcFreeNs = 0;
    QByteArray m_received;
    qsizetype m_readPos = 0;
};
