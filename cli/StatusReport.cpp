#include "cli/StatusReport.h"

#include "logger/LoggerConnection.h"

#include <QJsonArray>

namespace {

QJsonValue dateValue(const QDateTime &date)
{
    return date.isValid() ? QJsonValue(date.toString(Qt::ISODate)) : QJsonValue();
}

QJsonObject identity(const LoggerHeader &h)
{
    return QJsonObject{
        {"serialNumber", h.serialNumber.trimmed()},
        {"model", h.modelVersion.trimmed()},
        {"firmwareVersion", h.firmwareVersion.trimmed()},
        {"headerVersion", h.headerVersion.trimmed()},
        {"installedChannels", h.installedChannels},
        {"memoryBytes", qint64(h.memoryInstalled)},
        {"clientInfo", h.clientInfo.trimmed()},
    };
}

QJsonObject test(LoggerConnection &c)
{
    const LoggerHeader &h = c.header;
    const DownloadColumns columns = DownloadColumns::fromChannelConfig(c.capture.values().channelConfig);
    QJsonArray channels;
    for (int channel = 1; channel <= 8; ++channel)
        if (columns.active[channel - 1])
            channels.append(channel);
    return QJsonObject{
        {"logging", c.statusByte.loggingActive()},
        {"description", h.description.trimmed()},
        {"initializedBy", h.initializedBy.trimmed()},
        {"periodSeconds", qint64(h.scanPeriod)},
        {"waitSeconds", qint64(h.waitTime)},
        {"scanCount", qint64(h.scanCount)},
        {"channels", channels},
        {"monitorChannel", columns.monitorChannel},
        {"initialized", dateValue(h.initDate)},
        {"start", dateValue(h.startDate)},
        {"stop", dateValue(h.stopDate)},
        {"timeZone", h.initTimeZone.trimmed()},
    };
}

QJsonObject memory(LoggerConnection &c)
{
    const qint64 used = c.capture.values().active.pointer.value;
    const qint64 installed = c.header.memoryInstalled;
    return QJsonObject{
        {"usedBytes", used},
        {"installedBytes", installed},
        {"usedPercent", installed > 0 ? qRound(double(used) * 1000.0 / double(installed)) / 10.0 : 0.0},
    };
}

// The battery limit is typed on the factory page: a run without windows has
// none, and says so with null.
QJsonValue batteryLimit(LoggerConnection &c)
{
    const double limit = c.headerReader.batteryLimits().limit;
    return limit > 0 ? QJsonValue(limit) : QJsonValue();
}

} // namespace

QJsonObject StatusReport::build(LoggerConnection &c, const QString &device)
{
    const LoggerHeader &h = c.header;
    return QJsonObject{
        {"device", device},
        {"logger", identity(h)},
        {"test", test(c)},
        {"memory", memory(c)},
        {"battery", QJsonObject{{"installed", dateValue(h.batteryDate)},
                                {"initializationsSince", qint64(h.batteryInits)},
                                {"limitVolts", batteryLimit(c)}}},
        {"status", QJsonObject{{"byte", c.statusByte.statusText()},
                               {"alerts", c.statusByte.alertText().trimmed()}}},
        {"download", QJsonObject{{"downloaded", !h.lastDownloadTime.contains(u'x')
                                                    && !h.lastDownloadTime.trimmed().isEmpty()},
                                 {"time", h.lastDownloadTime.trimmed()},
                                 {"file", h.lastDownloadFile.trimmed()}}},
    };
}

QString StatusReport::text(const QJsonObject &r)
{
    const QJsonObject logger = r["logger"].toObject();
    const QJsonObject test = r["test"].toObject();
    const QJsonObject memory = r["memory"].toObject();
    const QJsonObject battery = r["battery"].toObject();
    const QJsonObject status = r["status"].toObject();
    const QJsonObject download = r["download"].toObject();
    QStringList channels;
    for (const QJsonValue &v : test["channels"].toArray())
        channels << QString::number(v.toInt());
    QStringList lines{
        QStringLiteral("Device:        %1").arg(r["device"].toString()),
        QStringLiteral("Logger:        %1  model %2  firmware %3  header %4")
            .arg(logger["serialNumber"].toString(), logger["model"].toString(),
                 logger["firmwareVersion"].toString(), logger["headerVersion"].toString()),
        QStringLiteral("Test:          %1  (%2)")
            .arg(test["logging"].toBool() ? QStringLiteral("logging") : QStringLiteral("not logging"),
                 test["description"].toString()),
        QStringLiteral("Scan period:   %1 s, wait %2 s, %3 scans, channels %4, monitor %5")
            .arg(test["periodSeconds"].toInteger())
            .arg(test["waitSeconds"].toInteger())
            .arg(test["scanCount"].toInteger())
            .arg(channels.join(u','))
            .arg(test["monitorChannel"].toInt()),
        QStringLiteral("Start / stop:  %1 / %2")
            .arg(test["start"].toString(), test["stop"].toString()),
        QStringLiteral("Memory:        %1 of %2 bytes (%3 %)")
            .arg(memory["usedBytes"].toInteger())
            .arg(memory["installedBytes"].toInteger())
            .arg(memory["usedPercent"].toDouble()),
        QStringLiteral("Battery:       installed %1, %2 initializations since")
            .arg(battery["installed"].toString())
            .arg(battery["initializationsSince"].toInteger()),
        QStringLiteral("Status byte:   %1  %2").arg(status["byte"].toString(), status["alerts"].toString()),
        QStringLiteral("Last download: %1")
            .arg(download["downloaded"].toBool()
                     ? download["time"].toString() + QStringLiteral("  ") + download["file"].toString()
                     : QStringLiteral("never")),
    };
    return lines.join(u'\n') + u'\n';
}
