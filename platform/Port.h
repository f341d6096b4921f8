#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The serial line to the logger, as the link sees it. Implemented over a real
// serial device and over the simulated logger.
class Port
{
public:
    // What the port reports to its owner. Receive means bytes are waiting;
    // the rest are modem-line changes and line errors.
    enum class Event {
        Receive,
        CtsChange,
        DsrChange,
        CdChange,
        Ring,
        EndOfFile,
        Break,
        Framing,
        Overrun,
        ReceiveOverflow,
        Parity,
        TransmitFull,
        CtsTimeout,
        DsrTimeout,
        CdTimeout,
        ConfigurationError,
        Unknown,
        // The device itself went away (a USB adapter pulled out); the port
        // has closed.
        DeviceLost,
    };
    using EventHandler = std::function<void(Event)>;

    virtual ~Port() = default;

    // Device to use on the next open(); ignored by ports that have only one line.
    virtual void setPortName(const QString &name) = 0;
    virtual QString portName() const = 0;

    virtual bool open() = 0;
    // Why the last open() failed, in words a technician can act on; empty
    // when the port cannot tell.
    virtual QString openErrorText() const { return {}; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // "rate,parity,databits,stopbits", e.g. "9600,N,8,1". Returns false when the
    // text cannot be applied; the previous settings then stay.
    virtual bool applySettings(const QString &settings) = 0;
    virtual QString settings() const = 0;

    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual bool dtr() const = 0;
    virtual bool rts() const = 0;
    virtual bool cts() const = 0;
    virtual bool dsr() const = 0;
    virtual bool cd() const = 0;

    virtual int bytesWaiting() const = 0;
    // Takes the oldest received byte; -1 when none is waiting.
    virtual int takeByte() = 0;
    virtual void write(const QByteArray &bytes) = 0;
    virtual void discardOutput() = 0;

    void setEventHandler(EventHandler handler) { m_handler = std::move(handler); }

protected:
    void raise(Event event)
    {
        if (m_handler)
            m_handler(event);
    }

private:
    EventHandler m_handler;
};
