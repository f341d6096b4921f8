#pragma once

#include "logger/download/DownloadRead.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Opens a download for the viewer, whichever file of it is named: the
// spreadsheet CSV, the tidy CSV (with its events table and metadata beside
// it), or the RAW file, which the rebuild hook turns into tidy text. A file
// that is no download, or no longer one, is refused with the reason; one
// spoilt part way is read up to the fault, and the message says where.
class DownloadTableReader
{
public:
    // The three texts of a tidy download rebuilt from a RAW file; false
    // (with the reason in *error) when it cannot be.
    struct TidyTexts
    {
        QByteArray rows;
        QByteArray events;
        QByteArray metadata;
    };
    using RawRebuild = std::function<bool(const QString &rawPath, TidyTexts *texts, QString *error)>;

    void setRawRebuild(RawRebuild rebuild) { m_rawRebuild = std::move(rebuild); }
    bool readsRaw() const { return bool(m_rawRebuild); }
    // The file dialog's filter: RAW files only when they can be read.
    QString fileFilter() const;

    DownloadRead read(const QString &path) const;
    // A tidy download held in memory; `name` names it in the messages.
    static DownloadRead readTidyText(const TidyTexts &texts, const QString &name);

private:
    static DownloadRead readPartsCsv(const QString &path);
    static DownloadRead readTidyFile(const QString &path);
    DownloadRead readRaw(const QString &path) const;
    static void finish(DownloadRead &read, const QString &name);

    RawRebuild m_rawRebuild;
};
