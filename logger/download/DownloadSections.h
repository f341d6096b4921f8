#pragma once

#include "logger/download/DownloadColumns.h"

#include <QDateTime>
#include <QStringList>

struct LiveBlockValues;
struct LoggerHeader;

// The fixed sections of the download files around the data rows.
namespace DownloadSections {

// Who, where and when, for the lines that say how the file was made.
struct Origin
{
    QDateTime downloadTime;
    QString locationCode;
    QString baseName;
};

// After the header block: two empty lines, "Downloaded on:", the column
// titles and the "Start of Downloaded Data" line with the units.
QStringList csvDataHeading(const LoggerHeader &header, const DownloadColumns &columns,
                           const Origin &origin);

// The live block as the last capture found it, after the header lines.
struct LiveSection
{
    QString statusText;     // the status line of the download
    QString statusByteText; // two hexadecimal digits
};
QStringList rawLiveBlock(const LiveBlockValues &live, const LiveSection &status);
QStringList rawDataHeading(const LoggerHeader &header, const Origin &origin);

// Every channel whose slope is zero is given a slope of 1 before the rows
// are worked out, as a download does and a rebuild must do alike.
void replaceZeroSlopes(LoggerHeader &header);

// "End of Downloaded Data" to "Start of Download Notes", and the end of the notes.
QStringList notesOpening(const QDateTime &now);
QStringList notesClosing();

} // namespace DownloadSections
