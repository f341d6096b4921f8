#pragma once

#include "link/IndicatorColour.h"
#include "link/StatusByteState.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class CommandTransport;
class CommStatusLine;
class Dialogs;
class EventLoop;
struct DebugSwitches;
struct LinkState;

// The logger's status byte (read, decode, write, clear) and the small control
// commands around it: LEDs, soft reset, dump output and logging on/off. The
// windows follow through signals; the factory page's check boxes come back
// through the ...Clicked() handlers, which do nothing while the decode itself
// is ticking the boxes.
class StatusByteCommands : public QObject
{
    Q_OBJECT

public:
    // Where the scan numbers come from: the live block as the event capture
    // last read it, and the test setup shown in the main window.
    struct ScanPointers
    {
        qint64 currentPointer = 0;
        qint64 eventPointer = 0;
        // Data words per scan: active channels, plus 2 with a monitor channel.
        int wordsPerScan = 0;
        // The number of scans the test was set up for; 0 when unknown.
        qint64 presetScans = 0;
        QDateTime testStart;
        qint64 scanPeriodSeconds = 0;
    };

    // Filled by whoever owns the other end; an empty hook is skipped.
    struct Hooks
    {
        std::function<ScanPointers()> scanPointers;
        // Event and status capture (the live block read), run after a stop.
        std::function<void()> captureEvents;
    };

    StatusByteCommands(CommandTransport &transport, LinkState &state, Dialogs &dialogs,
                       EventLoop &loop, CommStatusLine &status, const DebugSwitches &switches);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // "p": reads and decodes the status byte. The decode runs even after a
    // failed exchange; callers that care test commAbort afterwards.
    void subSBRead();
    // "q" with the value's low byte as two hexadecimal digits.
    void subSBWrite(qint16 value);
    void subSBClear();
    // Clears the alarm bits, keeping logging and dump as last read.
    void subSBReset();
    void subSBClearDisplay();

    void subLed2On();
    void subLed2Off();
    void subLed3On();
    void subLed3Off();
    void subSoftReset();
    void subEnableDump();
    void subDisableDump();
    void subEnableLogging();
    void subDisableLogging();

    // The factory page's boxes as the operator clicks them.
    void chkLed2Clicked(bool ticked);
    void chkLed3Clicked(bool ticked);
    void chkEnableDumpClicked(bool ticked);
    void chkEnableLoggingClicked(bool ticked);

    const StatusByteState &decoded() const { return m_decoded; }
    bool loggingActive() const { return m_decoded.loggingActive; }
    QString statusText() const { return m_decoded.text; }
    quint8 statusValue() const { return m_decoded.value; }
    QString alertText() const { return m_alertText; }
    // "End of test status:,Hex:,..." for the download file.
    QString downloadStatusText() const { return m_downloadStatusText; }
    // The first-event scan number: the event scan when the live block has an
    // event pointer, else the current scan; -3 until a read could tell.
    qint64 scanNumber() const { return m_scanNumber; }
    qint64 currentScanNumber() const { return m_currentScanNumber; }
    qint64 eventScanNumber() const { return m_eventScanNumber; }
    qint64 lastScan() const { return m_lastScan; }
    QDateTime lastScanTime() const { return m_lastScanTime; }

Q_SIGNALS:
    // Main window "Alerts" (lblRdBattCond); no background means its normal one.
    void alertLabelChanged(const QString &text, std::optional<IndicatorColour> background);
    // Main window "Test Status" (LblRdMemStat); no colour while blank.
    void testStatusChanged(const QString &text, std::optional<IndicatorColour> colour);
    // Main window "Event Occured" (LblRdBattStopDate).
    void batteryStopDateChanged(const QString &text);
    // Main window status line (LblStatusLine).
    void statusLineChanged(const QString &text);
    // Factory label lblSB<bit>; an empty caption keeps the label's caption.
    void statusBitChanged(int bit, IndicatorColour colour, const QString &caption);
    // Factory label lblSB<bit> back to its unlit look.
    void statusBitCleared(int bit);
    // Factory label lblSBRead.
    void statusByteShown(const QString &text);
    // chkEnableLogging / chkEnableDump follow the logger; ticking them here
    // must not send (their ...Clicked() handlers see to that).
    void loggingBoxTicked(bool ticked);
    void dumpBoxTicked(bool ticked);
    // The main window's low-power stop button (cmdLoPower).
    void loPowerStopEnabled(bool enabled);
    // Factory labels lblCurrentpScanNumb and lblEventScanNumb.
    void scanNumbersChanged(const QString &currentScan, const QString &eventScan);

private:
    void send(const QString &letter, const QString &separator = QString(),
              const QString &data = QString(), qint16 length = 0);
    QString waitForReplyLine();
    void checkStatusLine(const QString &line);
    QString statusTextFromReply() const;
    void showDecoded();
    void refreshScanNumbers();
    bool suppressed() const { return m_suppressBoxCommands; }

    CommandTransport &m_transport;
    LinkState &m_state;
    Dialogs &m_dialogs;
    EventLoop &m_loop;
    CommStatusLine &m_status;
    const DebugSwitches &m_switches;
    Hooks m_hooks;

    StatusByteState m_decoded;
    QString m_alertText;
    QString m_downloadStatusText;
    qint64 m_scanNumber = -3;
    qint64 m_currentScanNumber = 0;
    qint64 m_eventScanNumber = 0;
    qint64 m_lastScan = 0;
    QDateTime m_lastScanTime;
    bool m_suppressBoxCommands = false;
};
