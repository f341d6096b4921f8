#pragma once

#include "logger/download/DownloadColumns.h"
#include "logger/download/RawDownloadFile.h"

#include <QString>
#include <optional>

class Dialogs;
class TidyExport;
struct LoggerHeader;

// Writes a download's comma-separated file again from its RAW file, without
// a logger: the header lines give the identity and calibration, the live
// block the test, and the data lines go through the same row conversion as a
// download read live. What the RAW file does not hold (the channel selection
// when it differs from the logger's, the status line the rows quote, the
// download time zone) comes from the download's metadata file when it is
// beside the RAW, else from the RAW itself.
class DownloadRebuild
{
public:
    // What the metadata file adds; each part optional.
    struct Extras
    {
        std::optional<DownloadColumns> columns;
        std::optional<QString> statusLine;
        std::optional<int> downloadZoneHours;
        std::optional<QString> eventLines;
    };

    struct Outcome
    {
        bool written = false;
        QString message; // why not, or what was written
        QString baseName;
    };

    DownloadRebuild(const RawDownloadFile &raw, Dialogs &dialogs);

    void setExtras(const Extras &extras) { m_extras = extras; }
    // The metadata beside a RAW file ("<base>.json"), when it is there.
    static Extras extrasBeside(const QString &rawPath);

    // The header the RAW file's header lines describe.
    static LoggerHeader header(const RawDownloadFile &raw);
    // The channel selection: the metadata's, else channels 1 to N and a
    // monitor channel when the data holds its two words.
    DownloadColumns columns() const;

    // Writes "<base>.CSV" with the tidy file, its events table and the
    // metadata (refusing a base already in use).
    Outcome write(const QString &base);
    // "<folder>/<name of the RAW>", or with "-rebuilt" (and a counter) when in use.
    static QString freeBase(const QString &rawPath, const QString &folder);

    // The tidy file, events table and metadata of a RAW file, rebuilt in a
    // scratch folder and read back (for the viewer); false with the reason.
    static bool tidyTexts(const QString &rawPath, Dialogs &dialogs, QByteArray *rows, QByteArray *events,
                          QByteArray *metadata, QString *error);

private:
    int monitorInData(int activeChannels) const;
    bool complete() const;
    QStringList notes() const;
    void writeMetadata(TidyExport &tidy, const LoggerHeader &h, const QString &eventText,
                       const QString &statusLine) const;

    const RawDownloadFile &m_raw;
    Dialogs &m_dialogs;
    Extras m_extras;
};
