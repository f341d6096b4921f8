#include "cli/CliPorts.h"

#include <QJsonObject>
#include <QSerialPortInfo>

QJsonArray CliPorts::list()
{
    QJsonArray ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QChar(u'0')); };
        ports.append(QJsonObject{
            {"device", info.systemLocation()},
            {"name", info.portName()},
            {"manufacturer", info.manufacturer()},
            {"description", info.description()},
            {"serialNumber", info.serialNumber()},
            {"vendorId", info.hasVendorIdentifier() ? QJsonValue(hex(info.vendorIdentifier())) : QJsonValue()},
            {"productId", info.hasProductIdentifier() ? QJsonValue(hex(info.productIdentifier())) : QJsonValue()},
        });
    }
    return ports;
}

QString CliPorts::text(const QJsonArray &ports)
{
    if (ports.isEmpty())
        return QStringLiteral("No serial ports found.\n");
    QString text;
    for (const QJsonValue &value : ports) {
        const QJsonObject port = value.toObject();
        QStringList known;
        for (const char *key : {"manufacturer", "description", "serialNumber"})
            if (!port[QLatin1String(key)].toString().isEmpty())
                known << port[QLatin1String(key)].toString();
        if (!port["vendorId"].isNull())
            known << port["vendorId"].toString() + u':' + port["productId"].toString();
        text += port["device"].toString() + (known.isEmpty() ? QString() : QStringLiteral("  ") + known.join(QStringLiteral(", ")))
            + u'\n';
    }
    return text;
}
