#pragma once

#include "logger/download/DataWords.h"
#include "logger/download/DownloadColumns.h"

#include <QDateTime>
#include <QString>
#include <functional>

// Turns the words of the data memory into the rows of the comma-separated
// file: scan number, time, the counts of the active columns and one
// engineering-unit cell per column, with the status events and memory errors
// the words reveal as lines of their own between the rows. It sees only the
// words below the end of the data, so every complete scan read becomes a row
// and nothing past the data does.
class ScanRows
{
public:
    // No battery channel.
    static constexpr int NoBatteryChannel = 16;

    struct Setup
    {
        DownloadColumns columns;
        // N: tags 0 to N - 1 are channels 1 to N.
        int activeChannels = 0;
        // The index of the first stored scan: -2 or -1.
        qint64 firstIndex = -1;
        QDateTime startDate;
        // The start delay the test was set up with.
        quint32 waitSeconds = 0;
        quint32 periodSeconds = 0;
        // Rows up to this scan number carry their time; 0 or less: all do.
        qint64 eventScanNumber = 0;
        // The scan of the first status event from the status byte read.
        qint64 firstEventScan = 0;
        // The row of the header block's "Slope:" line.
        int slopeRow = 0;
        int batteryChannel = NoBatteryChannel;
        int batteryThreshold = 5000;
    };

    // A scan as read, for a writer that follows the rows without the
    // comma-separated text.
    struct ScanRecord
    {
        // The scan number of the row.
        qint64 number = 0;
        qint64 index = 0;
        // Invalid when the row carries no time.
        QDateTime time;
        // -1 for a column not read in this scan.
        std::array<int, DownloadColumns::Count> counts{};
    };

    // A status event or memory error line between the rows.
    struct EventRecord
    {
        enum class Kind { Status, SyncError };
        Kind kind = Kind::Status;
        // The status text, or the memory error message.
        QString text;
        // The number of the last scan begun before it; 0 before any.
        qint64 afterScan = 0;
        // That scan's time as its row carries it; invalid when none.
        QDateTime time;
    };

    // Where rows go and whom they tell. write() returns false when the
    // file could not take the text; syncError() true for Retry. scanDone
    // and event may stay empty.
    struct Sink
    {
        std::function<bool(const QString &text)> write;
        std::function<int()> linesWritten;
        std::function<QString()> statusLine;
        std::function<void(qint64 scanIndex)> lowBattery;
        std::function<bool(qint64 address, qint64 endAddress, const QString &row)> syncError;
        // A scan's row is complete, or a scan cut short is flushed.
        std::function<void(const ScanRecord &scan)> scanDone;
        std::function<void(const EventRecord &event)> event;
    };

    enum class Outcome { Go, SyncCancel, WriteFailed };

    ScanRows(const Setup &setup, Sink sink);

    // One word at byte address `address` of the line read at `lineAddress`.
    Outcome addWord(const DataWord &word, qint64 lineAddress, qint64 endAddress);
    // Writes what the row holds so far: the last row at the end of the
    // data, or the row in hand when a sync error's Cancel ends there.
    Outcome flush();

    bool lowBatterySeen() const { return m_lowBatterySeen; }
    bool firstEventReached() const { return m_firstEventReached; }
    qint64 firstEventIndex() const { return m_firstEventIndex; }

    // The time of scan index k: start + k periods. The wake-up scans before
    // the start: -2 when logging was switched on (start - wait), -1 255 s
    // before the start, or at the switch-on for a shorter wait.
    QDateTime scanTime(qint64 index) const;

private:
    void addStatusLine();
    Outcome startScan(int count);
    void addCount(int column, int count);
    // Whether the column is the next reading of the scan in hand.
    bool continuesScan(int column) const;
    void endScan();
    bool scanEndsAt(int column) const;
    void checkBattery(int column, int count, qint64 lineAddress, qint64 endAddress);
    void scanFinished();
    void tellEvent(EventRecord::Kind kind, const QString &text);

    Setup m_setup;
    Sink m_sink;
    QList<int> m_activeColumns;
    std::array<int, DownloadColumns::Count> m_counts{};
    QString m_row;
    // The scan being read, for the sink's scanDone.
    ScanRecord m_scan;
    bool m_scanOpen = false;
    // Index in m_activeColumns of the scan's next reading; -1 when no scan is open.
    qsizetype m_nextColumn = -1;
    int m_rowNumber = 0;
    qint64 m_index;
    bool m_lowBatterySeen = false;
    bool m_firstEventReached = false;
    qint64 m_firstEventIndex = 0;
};
