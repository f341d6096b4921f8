#pragma once

#include "link/IndicatorColour.h"
#include "link/LinkState.h"

#include <QObject>
#include <memory>

class Dialogs;
class EventLoop;
class Port;
class SettingsStore;
class Timer;

// Owns the serial port to the logger: configures and opens it, drives the
// handshake lines and keeps the link state. Windows follow it through signals.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    SerialLink(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs);
    ~SerialLink() override;

    LinkState &state() { return m_state; }
    const LinkState &state() const { return m_state; }
    Port &port() { return m_port; }

    // A device named on the command line replaces the numbered port.
    void setDeviceOverride(const QString &device) { m_deviceOverride = device; }

    void subCommConnect();
    void subToggleComm();
    void subDTROn();
    void subDTROff();
    void subRTSOn();
    void subRTSOff();
    void subStatusDCD();
    // Debounces CTS and recognises a new connection.
    void subCheckCTS();

Q_SIGNALS:
    // "Com 1" / open or closed, for the communications window.
    void commPortIndicator(const QString &text, IndicatorColour colour);
    // "Com 1-96", for the main window's port indicator.
    void comStatusIndicator(const QString &text, IndicatorColour colour);
    void dtrIndicator(IndicatorColour colour);
    void rtsIndicator(IndicatorColour colour);
    void dcdIndicator(IndicatorColour colour);

private:
    QString deviceName() const;
    QString comText() const;

    Port &m_port;
    EventLoop &m_loop;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    LinkState m_state;
    QString m_deviceOverride;
    std::unique_ptr<Timer> m_tmrTxd;
};
