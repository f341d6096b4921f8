#include "logger/download/ScanRows.h"

#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/CsvText.h"

namespace {
const QString LineBreak = QStringLiteral("\r\n");
constexpr qint64 EarlyScanSeconds = 255;
// Memory errors this close to the end of the data are not reported.
constexpr qint64 QuietSyncBytes = 80;
// Battery readings in the last line are not judged.
constexpr qint64 QuietBatteryBytes = 16;
} // namespace

ScanRows::ScanRows(const Setup &setup, Sink sink)
    : m_setup(setup)
    , m_sink(std::move(sink))
    , m_activeColumns(setup.columns.activeList())
    , m_index(setup.firstIndex - 1)
{
}

QDateTime ScanRows::scanTime(qint64 index) const
{
    if (index >= 0)
        return m_setup.startDate.addSecs(index * qint64(m_setup.periodSeconds));
    const qint64 wait = m_setup.waitSeconds;
    if (index == -1)
        return m_setup.startDate.addSecs(-qMin(wait, EarlyScanSeconds));
    return m_setup.startDate.addSecs(-wait);
}

ScanRows::Outcome ScanRows::addWord(const DataWord &word, qint64 lineAddress, qint64 endAddress)
{
    const WordMeaning meaning =
        DataWords::meaning(word.tag, m_setup.activeChannels, m_setup.columns.hasMonitor());
    if (meaning.kind == WordMeaning::Status) {
        addStatusLine();
        return Outcome::Go;
    }
    if (meaning.kind == WordMeaning::Invalid) {
        if (endAddress - lineAddress <= QuietSyncBytes)
            return Outcome::Go;
        const bool retry = m_sink.syncError(lineAddress, endAddress, m_row);
        const QString message = QStringLiteral("Channel Sync/data memory R/W ERROR in scan %1 of %2 Scans.")
                                    .arg(lineAddress)
                                    .arg(endAddress);
        m_row += LineBreak + QStringLiteral(", ") + message + LineBreak;
        tellEvent(EventRecord::Kind::SyncError, message);
        return retry ? Outcome::Go : Outcome::SyncCancel;
    }
    const int column = meaning.column;
    if (!m_setup.columns.active[column])
        return Outcome::Go;
    if (column == 0) {
        if (startScan(word.count) == Outcome::WriteFailed)
            return Outcome::WriteFailed;
    } else if (continuesScan(column)) {
        addCount(column, word.count);
        ++m_nextColumn;
    } else {
        // A reading out of its scan's order (a damaged tag, or a scan whose
        // first reading is missing) would shift the row's columns.
        return Outcome::Go;
    }
    checkBattery(column, word.count, lineAddress, endAddress);
    if (scanEndsAt(column))
        endScan();
    return Outcome::Go;
}

void ScanRows::addStatusLine()
{
    if (!m_row.isEmpty())
        m_row += LineBreak;
    const QString status = m_sink.statusLine();
    m_row += QStringLiteral(",EVENT/ERROR:,") + status;
    tellEvent(EventRecord::Kind::Status, status);
}

void ScanRows::tellEvent(EventRecord::Kind kind, const QString &text)
{
    if (!m_sink.event)
        return;
    EventRecord event;
    event.kind = kind;
    event.text = text;
    if (m_index >= m_setup.firstIndex) {
        event.afterScan = m_scan.number;
        event.time = m_scan.time;
    }
    m_sink.event(event);
}

void ScanRows::scanFinished()
{
    if (!m_scanOpen)
        return;
    m_scanOpen = false;
    if (m_sink.scanDone)
        m_sink.scanDone(m_scan);
}

ScanRows::Outcome ScanRows::startScan(int count)
{
    scanFinished();
    if (m_index == m_setup.firstEventScan - 1)
        addStatusLine();
    if (flush() == Outcome::WriteFailed)
        return Outcome::WriteFailed;
    ++m_index;
    if (m_index == m_setup.firstEventScan) {
        m_firstEventReached = true;
        m_firstEventIndex = m_index;
    }
    const qint64 scanNumber = m_index + 1;
    const bool timed = m_setup.eventScanNumber <= 0 || scanNumber <= m_setup.eventScanNumber;
    m_rowNumber = m_sink.linesWritten() + 1;
    m_scan.number = scanNumber;
    m_scan.index = m_index;
    m_scan.time = timed ? scanTime(m_index) : QDateTime();
    m_scan.counts.fill(-1);
    m_scanOpen = true;
    m_row = QString::number(scanNumber) + u',' + CsvHeaderBlock::dateTimeText(m_scan.time) + u',';
    addCount(0, count);
    m_nextColumn = 1;
    return Outcome::Go;
}

bool ScanRows::continuesScan(int column) const
{
    return m_nextColumn > 0 && m_nextColumn < m_activeColumns.size()
        && m_activeColumns[m_nextColumn] == column;
}

void ScanRows::addCount(int column, int count)
{
    m_row += QString::number(count) + u',';
    m_counts[column] = count;
    m_scan.counts[column] = count;
}

bool ScanRows::scanEndsAt(int column) const
{
    if (m_setup.columns.hasMonitor())
        return column == DownloadColumns::MonitorMin;
    return column == m_setup.activeChannels - 1;
}

// The engineering-unit cells stand in the header block's columns: the k-th
// active column's count in column C + k, its value in column N + 4 + k.
void ScanRows::endScan()
{
    m_nextColumn = -1;
    const int n = int(m_activeColumns.size());
    m_row += u',';
    for (int k = 0; k < n; ++k) {
        const int column = m_activeColumns[k];
        m_row += CsvText::engineeringCell(m_counts[column], 3 + k, n + 4 + k, m_rowNumber,
                                          m_setup.slopeRow)
            + u',';
    }
    scanFinished();
}

void ScanRows::checkBattery(int column, int count, qint64 lineAddress, qint64 endAddress)
{
    if (column != m_setup.batteryChannel || count >= m_setup.batteryThreshold
        || endAddress - lineAddress <= QuietBatteryBytes || m_lowBatterySeen)
        return;
    m_lowBatterySeen = true;
    m_sink.lowBattery(m_index);
}

ScanRows::Outcome ScanRows::flush()
{
    scanFinished();
    if (m_row.isEmpty())
        return Outcome::Go;
    const QString row = std::exchange(m_row, QString());
    return m_sink.write(row) ? Outcome::Go : Outcome::WriteFailed;
}
