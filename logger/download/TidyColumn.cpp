#include "logger/download/TidyColumn.h"

#include "logger/LoggerHeader.h"
#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/DataWords.h"

namespace {

// The number the text stands for (QString::toDouble reads the C locale
// whatever the program's locale); the stored value when it is no number.
double calNumber(const QString &text, const CalValue &value)
{
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok ? number : double(value.value);
}

} // namespace

QString TidyColumn::valueName() const
{
    if (location.isEmpty() && units.isEmpty())
        return tag + QStringLiteral(" value");
    QString name = tag;
    if (!location.isEmpty())
        name += u' ' + location;
    if (!units.isEmpty())
        name += QStringLiteral(" (") + units + u')';
    return name;
}

QStringList TidyColumn::cells(int count) const
{
    if (count < 0)
        return {QString(), QString(), QString()};
    const QString counted = QString::number(count);
    if (count == 0)
        return {counted, QString(), QStringLiteral("low")};
    if (count >= DataWords::HighClip)
        return {counted, QString(), QStringLiteral("high")};
    return {counted, QString::number(count * slope + offset, 'g', 10), QString()};
}

QList<TidyColumn> TidyColumn::list(const LoggerHeader &header, const DownloadColumns &columns)
{
    QList<TidyColumn> list;
    for (int c : columns.activeList()) {
        TidyColumn column;
        column.column = c;
        const int index = columns.channelIndex(c);
        column.channel = index + 1;
        if (c < DownloadColumns::MonitorMax)
            column.tag = QStringLiteral("ch%1").arg(c + 1);
        else
            column.tag = (index >= 0 ? QStringLiteral("ch%1").arg(index + 1) : QStringLiteral("monitor"))
                + (c == DownloadColumns::MonitorMax ? QStringLiteral(" max") : QStringLiteral(" min"));
        if (index >= 0) {
            const ChannelCalRecord &r = header.channel[index];
            column.location = r.location.trimmed();
            column.model = r.modelNumber.trimmed();
            column.serial = r.serialNumber.trimmed();
            column.units = r.engUnits.trimmed();
            column.calDue = r.calDue.trimmed();
            column.slopeText = CsvHeaderBlock::calText(r.slope);
            column.offsetText = CsvHeaderBlock::calText(r.offset);
            column.slope = calNumber(column.slopeText, r.slope);
            column.offset = calNumber(column.offsetText, r.offset);
        }
        list << column;
    }
    return list;
}
