#pragma once

#include "logger/ChannelCalRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The laboratory's record of calibrations: every channel written to a logger
// adds one line to a comma-separated file in the data folder, with the
// channel's calibration before and after the write. The file is only ever
// appended to.
class CalibrationLog
{
public:
    struct Entry
    {
        int channel = 0;
        // The record before the write and the record as written.
        ChannelCalRecord before;
        ChannelCalRecord after;
    };

    static QString fileName() { return QStringLiteral("CalibrationLog.csv"); }
    static QString headerLine();
    // One line without its line break.
    static QString line(const QString &loggerSerial, const Entry &entry, const QDateTime &when);
    // Date and time with the offset from UTC: "2026-12-10T14:03:00+01:00".
    static QString timeText(const QDateTime &when);

    // Appends the entries' lines to the log in folder, starting the file with
    // the header line when it is new. False, with the reason in *error, when
    // the file could not be written; nothing already in it is lost.
    static bool append(const QString &folder, const QString &loggerSerial, const QList<Entry> &entries,
                       const QDateTime &when, QString *error);

private:
    static QString textCell(const QString &text);
    static QString numberCell(const CalValue &value);
    static QString dueDateCell(const QString &calDue);
};
