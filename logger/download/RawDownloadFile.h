#pragma once

#include "logger/EventCapture.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// A download's RAW file read back: the header lines, the live block and
// status the download started from, the lines that say where and when it was
// made, every data line as read, and the closing notes. Each header and data
// line is checked as the link checks a reply (form, address, checksum); the
// data is taken up to the first line that fails, so an edited or truncated
// file gives the lines before the fault and says where it stopped.
struct RawDownloadFile
{
    struct DataLine
    {
        qint64 address = 0;
        QString text; // the whole reply line, "e000000#" + 32 digits + checksum
    };

    // Empty when the file could be read; otherwise why not (nothing else is set).
    QString refusal;
    // Where the data stopped being trustworthy, when it did: "line N: why".
    QString dataProblem;

    // The "c" reply lines, each followed by CR LF, as the header read keeps them.
    QString headerText;
    QList<QPair<int, QString>> headerLines; // address, 16 data characters

    QString statusText;     // after "STATUS: "
    QString statusByteText; // after "SB at download: "
    LiveBlockValues live;   // the fields of the a0000, a0010 and a0020 lines
    QStringList liveLines;  // from "Pic Header Info" to "Start of Downloaded Data", as written
    QString firstScanNote;
    QString initTimeZone;
    QDateTime downloadTime;
    QString locationCode;
    QString baseName;

    QList<DataLine> dataLines;
    // "End of Downloaded Data" was reached: the file was closed by the program.
    bool closed = false;
    // From "End of Downloaded Data" to "End of Download Notes".
    QStringList notes;

    // The address after the last good data line.
    qint64 nextAddress() const { return dataLines.isEmpty() ? 0 : dataLines.last().address + 16; }

    static RawDownloadFile parse(const QByteArray &bytes);
    static RawDownloadFile read(const QString &path);
};
