#pragma once

#include <QObject>
#include <QString>
#include <functional>

class EventLoop;
class LineReader;
struct LinkState;

// A live-block field as the logger holds it: its hexadecimal digits, as read,
// and their value.
struct HexField
{
    QString hex;
    quint32 value = 0;

    QString decimal() const { return QString::number(value); }
};

// The fields of one setup line of the live block (0010: the preset test,
// 0020: the values in force while it runs).
struct LiveSetupFields
{
    HexField calInterval;
    HexField period;
    HexField waits;
    HexField scans;
    HexField channels;
    HexField pointer;
};

// Everything subReadPic keeps from header page 00.
struct LiveBlockValues
{
    HexField eepromMarker;
    HexField memoryByte;
    HexField nextSample;
    HexField eventWaits;
    HexField eventScans;
    HexField eventChannels;
    HexField eventPointer;
    LiveSetupFields preset;
    LiveSetupFields active;
    QString channelConfig; // the 32 digits of 0040
    HexField referenceLowMilliVolts;
    HexField referenceHighMilliVolts;
};

// Event and status capture: reads the logger's live logging block, keeps its
// fields for the download, prepares the event and status lines that open the
// CSV file and the first-scan note, and brings the main window's channel and
// monitor selection into line with what the logger holds. The main window is
// reached only through the hooks, so this class stays free of widgets.
class EventCapture : public QObject
{
    Q_OBJECT

public:
    // What the status byte read left behind. Its scan figures are not taken:
    // at a new connection the status byte is read before this capture, while
    // the live block in hand is still the previous logger's.
    struct StatusInputs
    {
        quint8 value = 0;
        QString text; // its two hexadecimal digits
    };

    // The Setup tab's channel and monitor selection.
    struct SetupHooks
    {
        // Data words per scan: active channels, plus 2 with a monitor channel.
        std::function<int()> wordsPerScan;
        std::function<bool(int channel)> isChannelActive;
        // A click on channel label "Ch n" (lblActChClick).
        std::function<void(int channel)> toggleChannel;
        // Chooses monitor option OptMonitorCh<n>, or OptMonitorOff for 0.
        std::function<void(int channel)> selectMonitor;
        std::function<void()> setNumberActiveChannels;
    };

    struct Hooks
    {
        std::function<StatusInputs()> status;
        SetupHooks setup;
    };

    static const QString LineEnd;

    EventCapture(LineReader &reader, LinkState &state, EventLoop &loop);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Reads 0000, 0010, 0020, 0040 and 0050. A line that cannot be read
    // keeps its previous values and leaves commAbort set at the end, so the
    // download that follows stops.
    void subReadPic();

    // Set by the test initialization: the main window already holds the setup
    // just written, so the next capture leaves its selection alone.
    void setSelectionJustWritten() { m_selectionJustWritten = true; }

    const LiveBlockValues &values() const { return m_values; }
    // "Header Downloaded:,...", an empty line and "Status Flags set at
    // Download:,...", each ended by CR LF.
    QString eventLines() const { return m_eventLines; }
    static constexpr int EventLineCount = 3;
    // Goes into the RAW header text and counts as one CSV line.
    QString firstScanNote() const { return m_firstScanNote; }
    qint64 eventScanNumber() const { return m_eventScanNumber; }
    qint64 currentScanNumber() const { return m_currentScanNumber; }
    // The scan of the first status event: the event scan when the logger
    // noted an event pointer, else the current scan; below 1: no event.
    qint64 firstEventScan() const { return m_firstEventScan; }

Q_SIGNALS:
    // The live block was read; the factory page shows values().
    void picInfoRead();
    // The factory page's scan numbers (lblEventScanNumb, lblCurrentpScanNumb).
    void scanNumbersChanged(const QString &eventScan, const QString &currentScan);

private:
    QString readLine(int address, bool &failed);
    void readEventLine(bool &failed);
    void readSetupLine(int address, LiveSetupFields &fields, bool &failed);
    bool readChannelLine(bool &failed);
    void readReferenceLine(bool &failed);
    void applyChannelConfig();

    LineReader &m_reader;
    LinkState &m_state;
    EventLoop &m_loop;
    Hooks m_hooks;

    LiveBlockValues m_values;
    QString m_eventLines;
    QString m_firstScanNote;
    qint64 m_eventScanNumber = 0;
    qint64 m_currentScanNumber = 0;
    qint64 m_firstEventScan = 0;
    bool m_selectionJustWritten = false;
};
