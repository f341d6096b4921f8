#pragma once

#include <QJsonObject>
#include <QString>

class LoggerConnection;

// What `status` tells of the connected logger, as one JSON object (the
// schema in the README) and as the lines printed for a person.
class StatusReport
{
public:
    static QJsonObject build(LoggerConnection &connection, const QString &device);
    static QString text(const QJsonObject &report);
};
