#include "logger/download/DownloadSections.h"

#include "logger/EventCapture.h"
#include "logger/LoggerHeader.h"
#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/CsvText.h"

namespace DownloadSections {

namespace {

QString channelText(const LoggerHeader &header, const DownloadColumns &columns, int column,
                    QString ChannelCalRecord::*field)
{
    const int index = columns.channelIndex(column);
    const QString text = index >= 0 ? header.channel[index].*field : QString();
    return CsvText::quoted(text + DownloadColumns::suffix(column));
}

QString joined(std::initializer_list<const HexField *> fields)
{
    QStringList texts;
    for (const HexField *field : fields)
        texts << field->hex;
    return texts.join(u'_');
}

} // namespace

QStringList csvDataHeading(const LoggerHeader &header, const DownloadColumns &columns,
                           const Origin &origin)
{
    const QList<int> active = columns.activeList();
    QString titles = QStringLiteral("Scan#,Date_Time,");
    QString units = QStringLiteral("Start of Downloaded Data,,");
    for (int column : active) {
        titles += QStringLiteral("Chan %1,").arg(column + 1);
        units += QStringLiteral("Counts,");
    }
    titles += u',';
    units += u',';
    for (int column : active) {
        titles += channelText(header, columns, column, &ChannelCalRecord::location) + u',';
        units += channelText(header, columns, column, &ChannelCalRecord::engUnits) + u',';
    }
    return {
        QString(),
        QString(),
        QStringLiteral("Downloaded on:,%1,at LocCode:,%2,%3,%4")
            .arg(CsvHeaderBlock::dateTimeText(origin.downloadTime), CsvText::quoted(origin.locationCode),
                 CsvText::quoted(QStringLiteral("by: ") + header.initializedBy.trimmed()),
                 CsvText::quoted(QStringLiteral("as file: ") + origin.baseName)),
        titles,
        units,
    };
}

QStringList rawLiveBlock(const LiveBlockValues &v, const LiveSection &status)
{
    const LiveSetupFields &p = v.preset;
    const LiveSetupFields &a = v.active;
    return {
        QStringLiteral("Pic Header Info").leftJustified(30),
        QString(),
        QStringLiteral("STATUS: ") + status.statusText,
        QString(),
        QStringLiteral("SB at download: ") + status.statusByteText,
        QStringLiteral("EVENTS: InitByte_MemByte_ToNextScan_Waits_Scans_Pointer"),
        QStringLiteral("a0000# ")
            + joined({&v.eepromMarker, &v.memoryByte, &v.nextSample, &v.eventWaits, &v.eventScans,
                      &v.eventPointer}),
        QStringLiteral("SETUP:  CalInt_Period_Waits_Scans_Channels_Pointer"),
        QStringLiteral("a0010# ")
            + joined({&p.calInterval, &p.period, &p.waits, &p.scans, &p.channels, &p.pointer}),
        QString(),
        QStringLiteral("LAST:         _Period_Waits_Scans_Channels_Pointer"),
        QStringLiteral("a0020#     _") + joined({&a.period, &a.waits, &a.scans, &a.channels, &a.pointer}),
        QString(),
        QStringLiteral("DATA").leftJustified(28) + u'.',
    };
}

QStringList rawDataHeading(const LoggerHeader &header, const Origin &origin)
{
    return {
        QStringLiteral("Initialization Time Zone: ") + header.initTimeZone,
        QStringLiteral("Downloaded on: %1  at LocCode: %2  In Zone: %3")
            .arg(CsvHeaderBlock::dateTimeText(origin.downloadTime), origin.locationCode,
                 header.initTimeZone),
        QStringLiteral("  as file: ") + origin.baseName,
        QStringLiteral("Start of Downloaded Data"),
    };
}

QStringList notesOpening(const QDateTime &now)
{
    return {
        QStringLiteral("End of Downloaded Data,") + CsvHeaderBlock::dateTimeText(now),
        QString(),
        QStringLiteral("Start of Download Notes"),
    };
}

QStringList notesClosing()
{
    return {QString(), QStringLiteral("End of Download Notes")};
}

void replaceZeroSlopes(LoggerHeader &header)
{
    for (ChannelCalRecord &channel : header.channel) {
        if (channel.slope.value == 0.0f)
            channel.slope = CalValue{QStringLiteral("1"), 1.0f};
    }
}

} // namespace DownloadSections
