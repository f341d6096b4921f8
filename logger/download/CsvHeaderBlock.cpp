#include "logger/download/CsvHeaderBlock.h"

#include "logger/LoggerHeader.h"
#include "logger/download/CsvText.h"

#include <functional>

namespace {

using CsvText::quoted;

QString cells(const QStringList &values)
{
    return values.join(u',');
}

QString number(qint64 value)
{
    return QString::number(value);
}

class ChannelRows
{
public:
    ChannelRows(const LoggerHeader &header, const DownloadColumns &columns)
        : m_header(header)
        , m_columns(columns)
    {
    }

    // N + 2 empty cells, the label, then one cell per active column, each
    // followed by a comma.
    QString row(const QString &label, const std::function<QString(int column)> &cell) const
    {
        const QList<int> active = m_columns.activeList();
        QString line = QString(active.size() + 2, u',') + label + u',';
        for (int column : active)
            line += cell(column) + u',';
        return line;
    }

    const ChannelCalRecord *record(int column) const
    {
        const int index = m_columns.channelIndex(column);
        return index >= 0 ? &m_header.channel[index] : nullptr;
    }

    QStringList all() const
    {
        auto text = [this](QString ChannelCalRecord::*field, bool suffix) {
            return [this, field, suffix](int column) {
                const ChannelCalRecord *r = record(column);
                return quoted((r ? r->*field : QString()) + (suffix ? DownloadColumns::suffix(column) : QString()));
            };
        };
        // A monitor column with no channel behind it shows its counts.
        auto value = [this](CalValue ChannelCalRecord::*field, const QString &none) {
            return [this, field, none](int column) {
                const ChannelCalRecord *r = record(column);
                return r ? CsvHeaderBlock::calText(r->*field) : none;
            };
        };
        return {
            row(QStringLiteral("Chans:"), [](int c) { return QStringLiteral("chan. %1").arg(c + 1); }),
            row(QStringLiteral("Location:"), text(&ChannelCalRecord::location, true)),
            row(QStringLiteral("Model:"), text(&ChannelCalRecord::modelNumber, false)),
            row(QStringLiteral("Serial:"), text(&ChannelCalRecord::serialNumber, false)),
            row(QStringLiteral("Cal Due:"),
                [this](int c) { return record(c) ? record(c)->calDue.trimmed() : QString(); }),
            row(QStringLiteral("TARE:"), [](int) { return QStringLiteral("0"); }),
            row(QStringLiteral("Slope:"), value(&ChannelCalRecord::slope, QStringLiteral("1"))),
            row(QStringLiteral("Offset:"), value(&ChannelCalRecord::offset, QStringLiteral("0"))),
            row(QStringLiteral("EU's:"), text(&ChannelCalRecord::engUnits, true)),
        };
    }

private:
    const LoggerHeader &m_header;
    const DownloadColumns &m_columns;
};

constexpr int SlopeRowOfChannelRows = 6;

} // namespace

QString CsvHeaderBlock::dateTimeText(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

// The slope and offset as the logger stores them, as plain numbers.
QString CsvHeaderBlock::calText(const CalValue &value)
{
    const QString text = value.text.trimmed();
    return text.isEmpty() ? QString::number(double(value.value)) : text;
}

QString CsvHeaderBlock::durationText(quint32 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

CsvHeaderBlock CsvHeaderBlock::build(const LoggerHeader &h, const Inputs &in)
{
    bool zoneOk = false;
    const int initZone = h.initTimeZone.trimmed().toInt(&zoneOk);
    const bool sameZone = zoneOk && initZone == in.presentOffsetHours;
    const QString zoneNote = sameZone
        ? QStringLiteral("NOTE: Time Zones are the same.")
        : QStringLiteral("NOTE: Initialization and Download Time Zones are NOT the same!");

    CsvHeaderBlock block;
    block.inputs = in;
    block.lines = {
        cells({"Description:", quoted(h.description)}),
        cells({"Download Time Zone:", number(in.presentOffsetHours), "Initialization Time Zone:",
               h.initTimeZone}),
        cells({QString(), zoneNote}),
        cells({"Model Version:", quoted(h.modelVersion), "Serial Number:", quoted(h.serialNumber),
               "Cal-Interval:", number(in.calInterval), "A/D Resolution:", number(h.adResolution)}),
        cells({"Period:", durationText(h.scanPeriod), "Waits:", durationText(h.waitTime),
               "scans:", number(h.scanCount), "Active Chans:", number(h.activeChannelCount)}),
        cells({"Init Date:", dateTimeText(h.initDate), "Start Date:", dateTimeText(h.startDate),
               "Stop Date:", dateTimeText(h.stopDate), "Installed Chans:",
               number(h.installedChannels)}),
        cells({"FactoryID:", quoted(h.factoryId), "FactoryID:", quoted(h.factoryId)}),
        cells({"Engine ID:", quoted(h.engineId), "Engine SN:", quoted(h.engineSn), "SigCon ID:",
               quoted(h.sigConId), "SigCon ID:", quoted(h.sigConSn)}),
        cells({"Header Ver:", quoted(h.headerVersion), "Firmware Ver:", quoted(h.firmwareVersion),
               "Memory Size:", number(h.memoryInstalled)}),
        cells({"Battery Installed:", dateTimeText(h.batteryDate), "Battery Inits:",
               number(h.batteryInits), "Total Inits:", number(h.totalInits)}),
        QString(),
    };
    block.slopeLine = int(block.lines.size()) + SlopeRowOfChannelRows;
    block.lines += ChannelRows(h, in.columns).all();
    return block;
}
