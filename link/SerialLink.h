#pragma once

#include "link/BaudSwitch.h"
#include "link/IndicatorColour.h"
#include "link/LinkState.h"
#include "link/PortErrorReport.h"
#include "link/SequenceRunner.h"
#include "platform/Port.h"

#include <QObject>
#include <functional>
#include <memory>

class CommStatusLine;
class Dialogs;
class EventLoop;
class SettingsStore;
class Timer;
class Trace;
struct DebugSwitches;

// Owns the serial port to the logger: configures and opens it, drives the
// handshake lines, turns port events into the shared receive state, tells a
// logger plugged in from one pulled out, and switches the baud rate.
// Windows follow it through signals; it never touches a widget.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    // What the new-connection sequence and the baud switch need from the
    // rest of the link and from the program; filled by whoever owns both ends.
    struct Steps
    {
        std::function<QString(const QString &address)> readHexHeaderLine; // fnReadHexHdra
        std::function<QString()> readStatusByte;                         // subSBRead
        std::function<void()> disableDump;                               // subDisableDump
        std::function<void()> resetCommCommand;                          // SubResetCommCommand
        std::function<void()> captureEvents;                             // event and status capture
        std::function<void()> readHeader;                                // whole header read
    };

    static constexpr int ReadyReadings = 20;
    static constexpr int BusyReadings = 2500;

    SerialLink(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs,
               LinkState &state, DebugSwitches &switches, Trace &trace, CommStatusLine &status);
    ~SerialLink() override;

    LinkState &state() { return m_state; }
    const LinkState &state() const { return m_state; }
    Port &port() { return m_port; }
    void setSteps(Steps steps) { m_steps = std::move(steps); }

    // A device named on the command line replaces the numbered port.
    void setDeviceOverride(const QString &device) { m_deviceOverride = device; }
    // A line without the handshake (a pseudo-terminal, an adapter without
    // CTS): the logger is taken as present and ready whenever the port is open.
    void setHandshake(bool used) { m_handshake = used; }
    bool handshake() const { return m_handshake; }
    // The main window's "bypass automatic download" box.
    void setAutoDownloadBypass(bool bypass) { m_autoDownloadBypass = bypass; }
    BaudSwitch &baud() { return m_baud; }
    // The sequences that talk to the logger, one at a time.
    SequenceRunner &sequences() { return m_sequences; }

    void subCommConnect();
    // The program is ending: abandon every sequence, close the port.
    void shutDown();
    void subToggleComm();
    void subDTROn();
    void subDTROff();
    void subRTSOn();
    void subRTSOff();
    void subStatusDSR();
    void subStatusDCD();
    bool fnCTS();
    void subCheckCTS();
    void subClearBuffers();
    void stopReceiveTimer();
    void MSComm1_OnComm(Port::Event event);


Q_SIGNALS:
    void commPortIndicator(const QString &text, IndicatorColour colour);
    void comStatusIndicator(const QString &text, IndicatorColour colour);
    void dtrIndicator(IndicatorColour colour);
    void rtsIndicator(IndicatorColour colour);
    void dsrIndicator(IndicatorColour colour);
    void dcdIndicator(IndicatorColour colour);
    // CTS as the logger's ready/busy line: LblCTS, lblCTSStatus, LblBusyStatus.
    void ctsIndicator(IndicatorColour colour);
    // lblLgrStatus text and the logger lamps' colour.
    void loggerIndicator(const QString &text, IndicatorColour colour);
    // Characters received, for LblRxd ("[cr]" marks a line end).
    void rxdAppended(const QString &text);
    // A complete line, for the real-time display.
    void lineReceived(const QString &line);
    // A logger was just plugged in: displays of the previous one are invalid.
    void newConnectionStarting();
    // The logger is gone: blank every display of it.
    void loggerLost();
    // The first header lines and the status byte were read.
    void firstLinesRead(const QStringList &lines, const QString &statusText);
    // Header reading was bypassed: show the Data Logger tab.
    void showLoggerTab();

private:
    QString deviceName() const;
    QString comText() const;
    void startWatching();
    void newConnectionSequence();
    bool runNewConnection();
    bool readFirstLines();
    void receiveByte(QChar c);
    void completeLine();
    void onBootloaderPrompt(QChar c);
    void bootloaderReconnect();
    void postPortError(const QString &text);
    bool ctsLevel() const;
    void tmrBusyTimeOut_Timer();
    void disconnectionCheck();
    void loggerGone();
    void deviceLost();
    void lookForLostDevice();
    void tmrRxd_Timer();
    void receiveTimedOut();

    Port &m_port;
    EventLoop &m_loop;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    LinkState &m_state;
    DebugSwitches &m_switches;
    Trace &m_trace;
    CommStatusLine &m_status;
    Steps m_steps;
    BaudSwitch m_baud;
    QString m_deviceOverride;
    bool m_autoDownloadBypass = false;
    std::unique_ptr<Timer> m_tmrBusyTimeOut;
    std::unique_ptr<Timer> m_tmrRxd;
    std::unique_ptr<Timer> m_tmrDeviceWatch;
    SequenceRunner m_sequences;
    PortErrorReport m_portErrors;
    bool m_reassertingDtr = false;
    bool m_handshake = true;
};
