#include "logger/download/TidyCsvParser.h"

#include "logger/download/CsvLines.h"
#include "logger/download/DownloadRead.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
constexpr int FormatVersion = 1;

int channelOf(const QString &tag)
{
    static const QRegularExpression pattern(QStringLiteral("^ch([1-8])( max| min)?$"));
    const QRegularExpressionMatch match = pattern.match(tag);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

DownloadTable::Clip clipOf(QByteArrayView cell, bool *ok)
{
    *ok = true;
    if (cell.isEmpty())
        return DownloadTable::NoClip;
    if (cell == QByteArrayView("low"))
        return DownloadTable::LowClip;
    if (cell == QByteArrayView("high"))
        return DownloadTable::HighClip;
    *ok = false;
    return DownloadTable::NoClip;
}
} // namespace

TidyCsvParser::TidyCsvParser(CsvLines &rows, DownloadRead &read)
    : m_rows(rows)
    , m_read(read)
{
}

bool TidyCsvParser::fault(const QString &why)
{
    m_read.stopAt(m_rows.lineNumber(), why);
    return false;
}

void TidyCsvParser::parse()
{
    m_read.table.facts.kind = DownloadTable::Kind::TidyCsv;
    QByteArrayView line;
    if (!m_rows.next(line)) {
        m_read.refuse(m_rows.problem().isEmpty() ? QStringLiteral("the file is empty")
                                                 : QStringLiteral("line 1: ") + m_rows.problem());
        return;
    }
    if (!heading(line))
        return;
    while (m_rows.next(line)) {
        if (!line.isEmpty() && !row(line))
            return;
    }
    if (!m_rows.problem().isEmpty())
        fault(m_rows.problem());
}

bool TidyCsvParser::cells(QByteArrayView line)
{
    if (!line.contains('"')) {
        CsvLines::split(line, &m_cells);
        return true;
    }
    if (!CsvLines::splitQuoted(line, &m_unquoted))
        return fault(QStringLiteral("a quote is left open"));
    m_cells.clear();
    for (const QByteArray &cell : m_unquoted)
        m_cells.append(cell);
    return true;
}

bool TidyCsvParser::heading(QByteArrayView line)
{
    QList<QByteArray> names;
    const bool split = CsvLines::splitQuoted(line, &names);
    if (!split || names.size() < 5 || names[0] != "scan" || names[1] != "time" || (names.size() - 2) % 3) {
        m_read.refuse(QStringLiteral("its first line is not the heading of a tidy download"));
        return false;
    }
    for (qsizetype i = 2; i < names.size(); i += 3) {
        const QString count = QString::fromUtf8(names[i]);
        const QString value = QString::fromUtf8(names[i + 1]);
        const QString tag = count.chopped(qMin<qsizetype>(count.size(), 6));
        if (!count.endsWith(QStringLiteral(" count")) || tag.isEmpty()
            || !value.startsWith(tag + u' ') || names[i + 2] != (tag + QStringLiteral(" clip")).toUtf8()) {
            m_read.refuse(QStringLiteral("the names of its column %1 do not belong together").arg((i - 2) / 3 + 1));
            return false;
        }
        DownloadTable::Column column;
        column.tag = tag;
        column.channel = channelOf(tag);
        QString rest = value.mid(tag.size() + 1).trimmed();
        const qsizetype open = rest.lastIndexOf(QStringLiteral("("));
        if (rest.endsWith(u')') && open >= 0) {
            column.units = rest.mid(open + 1).chopped(1).trimmed();
            rest = rest.left(open).trimmed();
        }
        column.location = rest == QStringLiteral("value") ? QString() : rest;
        m_read.table.columns << column;
    }
    m_columns = int(m_read.table.columns.size());
    return true;
}

bool TidyCsvParser::time(QByteArrayView cell, qint64 *utcMs)
{
    *utcMs = DownloadTable::NoTime;
    if (cell.isEmpty())
        return true;
    qint64 wall = 0;
    int offset = 0;
    bool hasOffset = false;
    if (!CsvLines::toWallClock(cell, &wall, &offset, &hasOffset) || cell[10] != 'T')
        return fault(QStringLiteral("\"%1\" is not a date and time").arg(QString::fromUtf8(cell)));
    if (!m_offsetSeen && hasOffset)
        m_read.table.setUtcOffset(offset);
    m_offsetSeen = true;
    *utcMs = wall - offset * 1000LL;
    return true;
}

bool TidyCsvParser::row(QByteArrayView line)
{
    if (!cells(line))
        return false;
    const QList<QByteArrayView> &c = m_cells;
    if (c.size() != 2 + 3 * m_columns)
        return fault(QStringLiteral("the row has %1 cells, the heading %2").arg(c.size()).arg(2 + 3 * m_columns));
    DownloadTable &t = m_read.table;
    qint64 scan = 0;
    qint64 ms = 0;
    if (!CsvLines::toInt(c[0], &scan))
        return fault(QStringLiteral("\"%1\" is not a scan number").arg(QString::fromUtf8(c[0])));
    if (!time(c[1], &ms))
        return false;
    if (const QString why = t.orderProblem(scan, ms); !why.isEmpty())
        return fault(why);
    t.addRow(scan, ms);
    const qsizetype added = t.rowCount() - 1;
    for (int k = 0; k < m_columns; ++k) {
        const QByteArrayView count = c[2 + 3 * k];
        const QByteArrayView value = c[3 + 3 * k];
        bool ok = true;
        const DownloadTable::Clip clip = clipOf(c[4 + 3 * k], &ok);
        qint64 n = 0;
        double v = 0;
        const QByteArrayView clipCell = c[4 + 3 * k];
        const bool badCount = !count.isEmpty() && !CsvLines::toInt(count, &n);
        const bool badValue = !value.isEmpty() && !CsvLines::toDouble(value, &v);
        if (!ok || badCount || badValue) {
            const QByteArrayView bad = !ok ? clipCell : badCount ? count : value;
            t.dropLastRow();
            return fault(QStringLiteral("\"%1\" is not a count, value or clip").arg(QString::fromUtf8(bad)));
        }
        if (clip != DownloadTable::NoClip || !value.isEmpty())
            t.setCell(added, k, v, clip);
    }
    return true;
}

void TidyCsvParser::parseEvents(CsvLines &events, const QString &name)
{
    QByteArrayView line;
    QList<QByteArray> c;
    auto note = [&](const QString &why) {
        m_read.notes << QStringLiteral("%1 line %2: %3").arg(name).arg(events.lineNumber()).arg(why);
    };
    if (!events.next(line) || line != QByteArrayView("after_scan,time,kind,text"))
        return note(QStringLiteral("not the heading of an events table"));
    while (events.next(line)) {
        qint64 after = 0;
        if (line.isEmpty())
            continue;
        if (!CsvLines::splitQuoted(line, &c) || c.size() != 4 || !CsvLines::toInt(c[0], &after))
            return note(QStringLiteral("not an event"));
        DownloadTable::Event event;
        event.afterScan = after;
        event.time = QDateTime::fromString(QString::fromUtf8(c[1]), Qt::ISODate);
        event.kind = QString::fromUtf8(c[2]);
        event.text = QString::fromUtf8(c[3]);
        m_read.table.events << event;
    }
    if (!events.problem().isEmpty())
        note(events.problem());
}

bool TidyCsvParser::parseMetadata(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonObject top = QJsonDocument::fromJson(json, &error).object();
    if (error.error != QJsonParseError::NoError) {
        m_read.notes << QStringLiteral("the metadata is not valid JSON (%1)").arg(error.errorString());
        return true;
    }
    if (top.value(QStringLiteral("format")).toString() != QStringLiteral("datalogger-download")) {
        m_read.refuse(QStringLiteral("its metadata belongs to no download"));
        return false;
    }
    const int version = top.value(QStringLiteral("formatVersion")).toInt();
    if (version != FormatVersion) {
        m_read.refuse(QStringLiteral("its metadata is of format version %1; this program reads version %2")
                          .arg(version)
                          .arg(FormatVersion));
        return false;
    }
    const QJsonObject logger = top.value(QStringLiteral("logger")).toObject();
    const QJsonObject test = top.value(QStringLiteral("test")).toObject();
    DownloadTable::Facts &f = m_read.table.facts;
    f.serialNumber = logger.value(QStringLiteral("serialNumber")).toString().trimmed();
    f.model = logger.value(QStringLiteral("model")).toString().trimmed();
    f.description = test.value(QStringLiteral("description")).toString().trimmed();
    f.testStart = QDateTime::fromString(test.value(QStringLiteral("startDate")).toString(), Qt::ISODate);
    f.periodSeconds = qint64(test.value(QStringLiteral("scanPeriodSeconds")).toDouble());
    if (f.testStart.isValid() && !m_read.table.utcOffset())
        m_read.table.setUtcOffset(f.testStart.offsetFromUtc());
    return true;
}
