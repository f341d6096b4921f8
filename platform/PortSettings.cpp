#include "platform/PortSettings.h"

#include <QStringList>

bool PortSettings::parse(const QString &text, PortSettings *out)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return false;
    bool ok = false;
    PortSettings s;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
        return false;
    s.parity = parity[0];
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return false;
    s.stopBits = parts[3].trimmed().toInt(&ok);
    if (!ok || (s.stopBits != 1 && s.stopBits != 2))
        return false;
    *out = s;
    return true;
}

QString PortSettings::toString() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(parity).arg(dataBits).arg(stopBits);
}

QString PortSettings::storedLoggerBaud(const QString &stored)
{
    PortSettings s;
    if (stored.contains(QStringLiteral("4800")) || !parse(stored, &s))
        return QStringLiteral("9600,N,8,1");
    return stored;
}
