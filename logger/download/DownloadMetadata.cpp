#include "logger/download/DownloadMetadata.h"

#include "logger/LoggerHeader.h"
#include "logger/download/FixedOffsetTime.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonArray lines(const QStringList &texts)
{
    QJsonArray array;
    for (const QString &text : texts)
        array.append(text);
    return array;
}

} // namespace

QJsonObject DownloadMetadata::build(const Inputs &in)
{
    const FixedOffsetTime clock(in.header.initTimeZone, in.header.startDate);
    return QJsonObject{
        {"format", "datalogger-download"},
        {"formatVersion", 1},
        {"program", QStringLiteral(DATALOGGER_VERSION)},
        {"logger", logger(in.header)},
        {"test", test(in)},
        {"channels", channels(in.columns)},
        {"timeZones",
         QJsonObject{{"initialization", in.header.initTimeZone},
                     {"utcOffset", textOrNull(clock.offsetText())},
                     {"download", in.block.presentOffsetHours}}},
        {"capture",
         QJsonObject{{"eventLines", lines(in.capture.eventLines)},
                     {"statusByte", in.capture.statusByte},
                     {"statusText", in.capture.statusText},
                     {"firstScanNote", in.capture.firstScanNote},
                     {"csvEventLines", lines(in.capture.csvEventLines)},
                     {"statusLine", in.capture.statusLine}}},
        {"download", download(in.download)},
        {"files", fileList(in.files)},
    };
}

QJsonObject DownloadMetadata::logger(const LoggerHeader &h)
{
    return QJsonObject{
        {"serialNumber", h.serialNumber.trimmed()},
        {"model", h.modelVersion.trimmed()},
        {"factoryId", h.factoryId.trimmed()},
        {"firmwareVersion", h.firmwareVersion.trimmed()},
        {"headerVersion", h.headerVersion.trimmed()},
        {"memoryInstalled", qint64(h.memoryInstalled)},
        {"installedChannels", h.installedChannels},
    };
}

QJsonObject DownloadMetadata::test(const Inputs &in)
{
    const LoggerHeader &h = in.header;
    const FixedOffsetTime clock(h.initTimeZone, h.startDate);
    QJsonArray columns;
    for (int column : in.block.columns.activeList())
        columns.append(column);
    return QJsonObject{
        {"initializedBy", h.initializedBy.trimmed()},
        {"initDate", textOrNull(clock.readingText(h.initDate))},
        {"startDate", textOrNull(clock.readingText(h.startDate))},
        {"stopDate", textOrNull(clock.readingText(h.stopDate))},
        {"scanPeriodSeconds", qint64(h.scanPeriod)},
        {"waitSeconds", qint64(h.waitTime)},
        {"scanCount", qint64(h.scanCount)},
        {"activeChannels", h.activeChannelCount},
        {"monitorChannel", in.block.columns.hasMonitor() ? in.block.columns.monitorChannel : 0},
        {"channelConfig", in.capture.channelConfig},
        {"columns", columns},
        {"description", h.description.trimmed()},
    };
}

QJsonArray DownloadMetadata::channels(const QList<TidyColumn> &columns)
{
    QJsonArray array;
    for (const TidyColumn &c : columns) {
        array.append(QJsonObject{
            {"column", c.column},
            {"tag", c.tag},
            {"channel", c.channel},
            {"location", c.location},
            {"model", c.model},
            {"serial", c.serial},
            {"units", c.units},
            {"slope", c.slopeText},
            {"offset", c.offsetText},
            {"calDue", c.calDue},
        });
    }
    return array;
}

QJsonObject DownloadMetadata::download(const Download &d)
{
    return QJsonObject{
        {"started", textOrNull(FixedOffsetTime::isoText(d.started))},
        {"ended", textOrNull(FixedOffsetTime::isoText(d.ended))},
        {"outcome", d.outcome},
        {"addressReached", d.addressReached},
        {"endAddress", d.endAddress},
        {"scans", d.scans},
        {"events", d.events},
        {"resumedFrom", d.resumedFrom.isEmpty()
                            ? QJsonValue()
                            : QJsonValue(QJsonObject{{"file", d.resumedFrom}, {"address", d.resumedAddress}})},
    };
}

QJsonArray DownloadMetadata::fileList(const QStringList &paths)
{
    QJsonArray array;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        array.append(QJsonObject{
            {"name", info.fileName()},
            {"bytes", info.size()},
            {"sha256", sha256(path)},
        });
    }
    return array;
}

QString DownloadMetadata::sha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}
