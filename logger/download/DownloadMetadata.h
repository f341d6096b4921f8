#pragma once

#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/TidyColumn.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

struct LoggerHeader;

// The metadata written beside a download's files (<base>.json): the logger,
// the test, the calibration of every column, the time zones, the event and
// status capture, how the download went, and the size and SHA-256 of every
// other file of the download.
class DownloadMetadata
{
public:
    struct Capture
    {
        // The live block lines as the RAW file shows them.
        QStringList eventLines;
        QString statusByte;
        QString statusText;
        QString firstScanNote;
        // The 32 digits of line 0040; empty when unknown.
        QString channelConfig;
        // The lines that open the comma-separated file, and the status line
        // its event rows quote: a rebuild from the RAW file needs them.
        QStringList csvEventLines;
        QString statusLine;
    };

    struct Download
    {
        QDateTime started;
        QDateTime ended;
        // "complete", "cancelled", "aborted", "write-failed" or "sync-cancelled".
        QString outcome;
        qint64 addressReached = 0;
        qint64 endAddress = 0;
        qint64 scans = 0;
        qint64 events = 0;
        // The RAW file of the download taken up again, and the address it gave up to.
        QString resumedFrom;
        qint64 resumedAddress = 0;
    };

    struct Inputs
    {
        const LoggerHeader &header;
        CsvHeaderBlock::Inputs block;
        QList<TidyColumn> columns;
        Capture capture;
        Download download;
        // Every other file of the download, closed and under its last name.
        QStringList files;
    };

    static QJsonObject build(const Inputs &inputs);
    // Name without folder, size and SHA-256 of each file.
    static QJsonArray fileList(const QStringList &paths);
    // Lower-case hexadecimal; empty when the file cannot be read.
    static QString sha256(const QString &path);

private:
    static QJsonObject logger(const LoggerHeader &header);
    static QJsonObject test(const Inputs &inputs);
    static QJsonArray channels(const QList<TidyColumn> &columns);
    static QJsonObject download(const Download &download);
};
