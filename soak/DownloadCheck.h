#pragma once

#include "logger/download/DataDownload.h"
#include "logger/download/ScanRows.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// What a download's files must hold, whatever ended it: the RAW file every
// data line the logger sent, in address order, each once and as the memory
// holds it (a resumed download's first lines, taken from a file, as the
// memory holds them); the comma-separated file exactly the rows the program's own
// decoding (DataWords and ScanRows) makes of those lines; final names for a
// complete download and the working "_Aborted" names for any other.
class DownloadCheck
{
public:
    struct Facts
    {
        // The logger's data memory when the download began.
        QByteArray data;
        qint64 endAddress = 0;
        // The rows' setup as the download took it (all but the slope row).
        ScanRows::Setup rows;
        DataDownload::Ending ending = DataDownload::Ending::NotStarted;
        QString base;
        // The data folder was taken away under the download.
        bool folderRemoved = false;
        // The sound data lines that went over the cable, by address.
        QMap<qint64, QString> sent;
        // What the status-event rows carry.
        QString statusLine;
        // The operator's answers to memory errors: Retry (true) or Cancel.
        std::vector<bool> syncRetries;
    };

    // One text per broken promise; empty when the files keep them all.
    static QStringList problems(const Facts &facts);
    // The data lines a resumed download says it took from the file of the
    // download that ended early; 0 when it read them all from the logger.
    static qint64 resumedLines(const QStringList &raw);
    // The download's file with this extension under the name its ending gives it.
    static QString filePath(const Facts &facts, const QString &extension);
    // The lines of a text file split at CR LF; none when it cannot be read.
    static QStringList lines(const QString &path);

private:
    static QStringList names(const Facts &facts);
    static QStringList rawLines(const Facts &facts, const QStringList &raw, QStringList *data);
    static QStringList csvRows(const Facts &facts, const QStringList &csv, const QStringList &data);
    static QStringList decoded(const Facts &facts, const QStringList &data, int firstRow, int slopeRow);
    // The lines after the one starting with `start`, up to the one starting
    // with `end` or, when none does, to the end of the file (without the
    // empty text after its last line end).
    static QStringList section(const QStringList &lines, const QString &start, const QString &end, int *first);
};
