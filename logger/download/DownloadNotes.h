#pragma once

#include <QString>
#include <QStringList>

// The notes that close both download files.
namespace DownloadNotes {

struct Facts
{
    // The loop stopped before the end of the data.
    bool premature = false;
    qint64 addressReached = 0;
    qint64 endAddress = 0;
    bool lowBattery = false;
    bool firstEventReached = false;
    qint64 firstEventScan = 0;
    quint8 status = 0;
    QString alerts;
    bool cancelled = false;
    quint32 periodSeconds = 0;
    QString periodText;
    QString operatorNotes;
};

// The premature-termination notice, also shown in a box.
QStringList prematureNotice(qint64 addressReached, qint64 endAddress);
// The operator's text, a line ending at a carriage return or line feed or
// broken at a blank once it is 40 characters long.
QStringList operatorLines(const QString &text);
QStringList lines(const Facts &facts);

} // namespace DownloadNotes
