#include "logger/download/PartsCsvParser.h"

#include "logger/HeaderDecoder.h"
#include "logger/download/CsvLines.h"
#include "logger/download/DataWords.h"
#include "logger/download/DownloadRead.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {
constexpr int HeaderLinesAtMost = 80;
const QByteArray DataStart = "Start of Downloaded Data";
const QByteArray DataEnd = "End of Downloaded Data";
const QByteArray StatusLine = ",EVENT/ERROR:,";
const QByteArray SyncLine = ", Channel Sync/data memory R/W ERROR";

// A calibration cell holds the logger's own text, taken as the program took
// it when it read the header and worked out the values: a number held to
// the range of the logger's floating point; of a text the logger holds
// damaged ("+1.0E00+0"), the number it starts with, or 0 when it starts
// with none.
bool calibrationNumber(QByteArrayView cell, double *value)
{
    double number = 0;
    if (!CsvLines::toDouble(cell, &number))
        number = HeaderDecoder::numericValue(QString::fromUtf8(cell));
    if (std::isnan(number))
        return false;
    constexpr double largest = std::numeric_limits<float>::max();
    *value = std::clamp(number, -largest, largest);
    return true;
}

const QStringList ChannelLabels = {QStringLiteral("Chans:"), QStringLiteral("Location:"),
                                   QStringLiteral("Model:"), QStringLiteral("Serial:"),
                                   QStringLiteral("Cal Due:"), QStringLiteral("TARE:"),
                                   QStringLiteral("Slope:"), QStringLiteral("Offset:"),
                                   QStringLiteral("EU's:")};

QString cellText(QByteArrayView cell)
{
    QString text = CsvLines::text(cell);
    // Texts that would read as formulas are written behind an apostrophe.
    if (text.size() > 1 && text[0] == u'\'' && QStringLiteral("=+-@").contains(text[1]))
        text.remove(0, 1);
    return text;
}

QString stripSuffix(QString text)
{
    for (const QString &suffix : {QStringLiteral(" Max"), QStringLiteral(" Min")})
        if (text.endsWith(suffix))
            text.chop(suffix.size());
    return text.simplified();
}

qint64 seconds(const QString &duration)
{
    const QStringList parts = duration.split(u':');
    if (parts.size() != 3)
        return 0;
    return parts[0].toLongLong() * 3600 + parts[1].toLongLong() * 60 + parts[2].toLongLong();
}
} // namespace

PartsCsvParser::PartsCsvParser(CsvLines &lines, DownloadRead &read)
    : m_lines(lines)
    , m_read(read)
{
}

bool PartsCsvParser::fault(const QString &why)
{
    m_read.stopAt(m_lines.lineNumber(), why);
    return false;
}

void PartsCsvParser::parse()
{
    m_read.table.facts.kind = DownloadTable::Kind::PartsCsv;
    if (!readHeader() || !buildColumns())
        return;
    readFacts();
    readData();
}

bool PartsCsvParser::readHeader()
{
    QByteArrayView line;
    while (m_lines.lineNumber() < HeaderLinesAtMost && m_lines.next(line)) {
        if (line.startsWith(DataStart))
            return true;
        headerLine(line);
    }
    if (!m_lines.problem().isEmpty())
        m_read.refuse(QStringLiteral("line %1: %2").arg(m_lines.lineNumber()).arg(m_lines.problem()));
    else if (!m_facts.contains(QStringLiteral("Description:")))
        m_read.refuse(QStringLiteral("it is not a logger download (no \"Description:\" line at its top)"));
    else
        m_read.refuse(QStringLiteral("the file ends before its data starts"));
    return false;
}

void PartsCsvParser::headerLine(QByteArrayView line)
{
    QList<QByteArray> cells;
    if (!CsvLines::splitQuoted(line, &cells))
        return;
    int first = 0;
    while (first < cells.size() && cells[first].isEmpty())
        ++first;
    if (first < cells.size() && ChannelLabels.contains(QString::fromUtf8(cells[first]))) {
        QList<QByteArray> values = cells.mid(first + 1);
        while (!values.isEmpty() && values.last().isEmpty())
            values.removeLast();
        m_channelRows.insert(QString::fromUtf8(cells[first]), values);
        return;
    }
    for (qsizetype i = 0; i + 1 < cells.size(); i += 2) {
        const QString key = cellText(cells[i]);
        if (key.endsWith(u':') && !m_facts.contains(key))
            m_facts.insert(key, cellText(cells[i + 1]));
    }
}

bool PartsCsvParser::buildColumns()
{
    const QList<QByteArray> chans = m_channelRows.value(QStringLiteral("Chans:"));
    m_columns = int(chans.size());
    if (m_columns == 0 || m_columns > 10) {
        m_read.refuse(QStringLiteral("its \"Chans:\" row names no columns"));
        return false;
    }
    for (const QString &label : {QStringLiteral("Slope:"), QStringLiteral("Offset:")}) {
        if (m_channelRows.value(label).size() != m_columns) {
            m_read.refuse(QStringLiteral("its \"%1\" row does not have a number per column").arg(label));
            return false;
        }
    }
    m_cal.resize(size_t(m_columns));
    for (int c = 0; c < m_columns; ++c) {
        Calibration &cal = m_cal[size_t(c)];
        const QByteArray tare = m_channelRows.value(QStringLiteral("TARE:")).value(c);
        if (!calibrationNumber(m_channelRows[QStringLiteral("Slope:")][c], &cal.slope)
            || !calibrationNumber(m_channelRows[QStringLiteral("Offset:")][c], &cal.offset)
            || (!tare.isEmpty() && !calibrationNumber(tare, &cal.tare))) {
            m_read.refuse(QStringLiteral("the calibration of column %1 is not a number").arg(c + 1));
            return false;
        }
        DownloadTable::Column column;
        const int number = QString::fromUtf8(chans[c]).remove(QStringLiteral("chan.")).trimmed().toInt();
        column.channel = number >= 1 && number <= 8 ? number : 0;
        column.tag = number == 9 ? QStringLiteral("max") : number == 10 ? QStringLiteral("min")
                                                                       : QStringLiteral("ch%1").arg(number);
        column.location = cellText(m_channelRows.value(QStringLiteral("Location:")).value(c)).simplified();
        column.units = stripSuffix(cellText(m_channelRows.value(QStringLiteral("EU's:")).value(c)));
        m_read.table.columns << column;
    }
    return true;
}

void PartsCsvParser::readFacts()
{
    DownloadTable::Facts &f = m_read.table.facts;
    f.serialNumber = m_facts.value(QStringLiteral("Serial Number:"));
    f.model = m_facts.value(QStringLiteral("Model Version:"));
    f.description = m_facts.value(QStringLiteral("Description:"));
    f.periodSeconds = seconds(m_facts.value(QStringLiteral("Period:")));
    bool ok = false;
    const int zone = m_facts.value(QStringLiteral("Initialization Time Zone:")).toInt(&ok);
    if (ok && qAbs(zone) <= 14)
        m_offset = -zone * 3600;
    m_read.table.setUtcOffset(m_offset);
    qint64 wall = 0;
    int offset = 0;
    bool hasOffset = false;
    if (CsvLines::toWallClock(m_facts.value(QStringLiteral("Start Date:")).toLatin1(), &wall, &offset,
                              &hasOffset))
        f.testStart = m_read.table.shownTime(wall - m_offset.value_or(0) * 1000LL);
}

void PartsCsvParser::readData()
{
    QByteArrayView line;
    while (m_lines.next(line)) {
        // The last scan may be cut short by the end of the data.
        if (line.startsWith(DataEnd))
            return;
        if (!dataLine(line))
            return;
    }
    if (!m_lines.problem().isEmpty()) {
        fault(m_lines.problem());
        return;
    }
    if (m_shortCounts >= 0) {
        m_read.table.dropLastRow();
        m_read.stopAt(m_shortLine, QStringLiteral("the file ends in the middle of a row"));
        return;
    }
    m_read.stopAt(m_lines.lineNumber() + 1, QStringLiteral("the file ends before \"End of Downloaded Data\""));
}

bool PartsCsvParser::dataLine(QByteArrayView line)
{
    if (line.isEmpty())
        return true;
    if (line.startsWith(StatusLine))
        return statusLine(line.sliced(StatusLine.size()));
    if (line.startsWith(SyncLine)) {
        m_syncAfterShort = m_shortCounts >= 0;
        addEvent(QStringLiteral("sync_error"), QString::fromUtf8(line.sliced(1)).trimmed());
        return true;
    }
    return rowLine(line);
}

// A status word met inside a scan: the scan's further counts are written on
// the status line, after the status text, in either form a line after a
// memory error takes.
bool PartsCsvParser::statusLine(QByteArrayView text)
{
    if (m_shortCounts >= 0) {
        CsvLines::split(text, &m_cells);
        const qsizetype size = m_cells.size();
        const int rest = m_columns - m_shortCounts;
        // The counts just before the line's last, empty cell, when the scan broke off again.
        int counts = 0;
        for (qint64 count = 0; counts < rest && size - 2 - counts > 0 && m_cells.last().isEmpty()
             && CsvLines::toInt(m_cells[size - 2 - counts], &count);)
            ++counts;
        for (const qsizetype tail : {qsizetype(rest + m_columns + 2), qsizetype(counts + 1)}) {
            if (tail < 2 || size <= tail)
                continue;
            const QList<QByteArrayView> further = m_cells.mid(size - tail);
            if (continueRow(further)) {
                text = text.first(further.first().data() - text.data() - 1);
                break;
            }
            if (m_read.stopped())
                return false;
        }
    }
    addEvent(QStringLiteral("status"), QString::fromUtf8(text).trimmed());
    return true;
}

void PartsCsvParser::addEvent(const QString &kind, const QString &text)
{
    DownloadTable &t = m_read.table;
    DownloadTable::Event event;
    event.kind = kind;
    event.text = text;
    if (t.rowCount() > 0) {
        event.afterScan = t.scan(t.rowCount() - 1);
        event.time = t.time(t.rowCount() - 1);
    }
    t.events << event;
}

bool PartsCsvParser::rowLine(QByteArrayView line)
{
    DownloadTable &t = m_read.table;
    CsvLines::split(line, &m_cells);
    const QList<QByteArrayView> &cells = m_cells;
    if (std::exchange(m_syncAfterShort, false)) {
        if (continueRow(cells))
            return true;
        if (m_read.stopped())
            return false;
        // The scan the memory error broke stays short.
        m_shortCounts = -1;
    }
    // A scan that lost readings in the logger's memory is written short and
    // the next scan follows on its own line: the short row keeps gaps.
    m_shortCounts = -1;
    qint64 scan = 0;
    if (!CsvLines::toInt(cells[0], &scan) || cells.size() < 3)
        return fault(QStringLiteral("\"%1\" is not a row of data").arg(QString::fromUtf8(line.first(qMin<qsizetype>(40, line.size())))));
    qint64 ms = DownloadTable::NoTime;
    if (!cells[1].isEmpty()) {
        int offset = 0;
        bool hasOffset = false;
        if (!CsvLines::toWallClock(cells[1], &ms, &offset, &hasOffset))
            return fault(QStringLiteral("\"%1\" is not a date and time").arg(QString::fromUtf8(cells[1])));
        ms -= m_offset.value_or(0) * 1000LL;
    }
    if (const QString why = t.orderProblem(scan, ms); !why.isEmpty())
        return fault(why);
    t.addRow(scan, ms);
    const bool full = cells.size() >= 2 * m_columns + 3;
    int counts = m_columns;
    if (!full) {
        counts = 0;
        while (counts < m_columns && 2 + counts < cells.size() && !cells[2 + counts].isEmpty())
            ++counts;
    }
    if (!fillCounts(t.rowCount() - 1, cells, 2, 0, counts)) {
        t.dropLastRow();
        return false;
    }
    if (!full) {
        m_shortCounts = counts;
        m_shortLine = m_lines.lineNumber();
    }
    return true;
}

// After a memory error in the middle of a scan the scan's further counts
// stand on the line after the error: all the rest, an empty cell and the
// whole row's engineering cells when the scan went on to its end; or only
// some counts and the line's end when the scan broke off again.
bool PartsCsvParser::continueRow(const QList<QByteArrayView> &cells)
{
    const int rest = m_columns - m_shortCounts;
    int counts = 0;
    for (qint64 count = 0; counts < rest && counts < cells.size() && CsvLines::toInt(cells[counts], &count);)
        ++counts;
    const bool finished = counts == rest && cells.size() >= rest + m_columns + 1
        && cells.size() <= rest + m_columns + 2 && cells[rest].isEmpty();
    const bool brokenAgain = counts > 0 && cells.size() == counts + 1 && cells[counts].isEmpty();
    if (!finished && !brokenAgain)
        return false;
    const int from = m_shortCounts;
    if (!fillCounts(m_read.table.rowCount() - 1, cells, 0, from, counts)) {
        m_read.table.dropLastRow();
        return false;
    }
    m_shortCounts = finished ? -1 : from + counts;
    return true;
}

// `count` counts from cell `first` on, for the columns from `column` on;
// their engineering cells follow the counts of the whole row and an empty cell.
bool PartsCsvParser::fillCounts(qsizetype row, const QList<QByteArrayView> &cells, int first, int column, int count)
{
    const int engineering = first - column + m_columns + 1;
    const bool withCells = cells.size() >= engineering + column + count;
    for (int i = 0; i < count; ++i) {
        const int c = column + i;
        qint64 value = 0;
        const QByteArrayView cell = cells[first + i];
        if (!CsvLines::toInt(cell, &value) || value < 0 || value > DataWords::HighClip)
            return fault(QStringLiteral("\"%1\" is not a count").arg(QString::fromUtf8(cell)));
        DownloadTable::Clip clip = value == 0 ? DownloadTable::LowClip
            : value >= DataWords::HighClip    ? DownloadTable::HighClip
                                              : DownloadTable::NoClip;
        if (withCells) {
            const QByteArrayView text = cells[engineering + c];
            double number = 0;
            if (text == QByteArrayView("Low Clip"))
                clip = DownloadTable::LowClip;
            else if (text == QByteArrayView("High Clip"))
                clip = DownloadTable::HighClip;
            else if (text.startsWith('=') || CsvLines::toDouble(text, &number))
                clip = DownloadTable::NoClip;
            else
                return fault(QStringLiteral("\"%1\" is not a value").arg(QString::fromUtf8(text)));
        }
        const Calibration &cal = m_cal[size_t(c)];
        m_read.table.setCell(row, c, double(value) * cal.slope + cal.offset + cal.tare, clip);
    }
    return true;
}
