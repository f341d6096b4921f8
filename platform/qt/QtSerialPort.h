#pragma once

#include "platform/Port.h"

#include <QSerialPort>
#include <QTimer>

// A real serial device. QSerialPort has no signal for modem-line changes, so
// CTS, DSR, CD and RI are polled on a short timer while the port is open and
// their changes raised as events.
//
// A device without modem lines (a pseudo-terminal, some bridges) is used on
// its data lines alone: DTR and RTS are not driven, and CTS reads as ready.
// A device that goes away (an adapter pulled out) closes the port and is
// reported once as DeviceLost.
class QtSerialPort : public Port
{
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setPortName(const QString &name) override;
    QString portName() const override;
    bool open() override;
    QString openErrorText() const override;
    void close() override;
    bool isOpen() const override;
    bool applySettings(const QString &settings) override;
    QString settings() const override { return m_settings; }

    void setDtr(bool on) override;
    void setRts(bool on) override;
    bool dtr() const override;
    bool rts() const override;
    bool cts() const override;
    bool dsr() const override;
    bool cd() const override;
    bool hasModemLines() const { return !m_noModemLines; }

    int bytesWaiting() const override;
    int takeByte() override;
    void write(const QByteArray &bytes) override;
    void discardOutput() override;

private:
    QSerialPort::PinoutSignals lines() const;
    void pollLines();
    void onError(QSerialPort::SerialPortError error);
    void requestLowLatency();

    mutable QSerialPort m_port;
    QString m_settings = QStringLiteral("9600,N,8,1");
    QTimer m_poll;
    QSerialPort::PinoutSignals m_lastLines;
    bool m_noModemLines = false;
};
