#pragma once

#include <QJsonArray>
#include <QString>

// `ports`: the serial ports the system knows, with their USB maker,
// product and serial number where it knows them.
class CliPorts
{
public:
    static QJsonArray list();
    static QString text(const QJsonArray &ports);
};
