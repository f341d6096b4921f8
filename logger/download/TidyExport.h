#pragma once

#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/DownloadMetadata.h"
#include "logger/download/ScanRows.h"
#include "logger/download/TidyColumn.h"
#include "logger/download/TidyFiles.h"

class Dialogs;
struct LoggerHeader;

// The files a download writes beside the comma-separated and RAW files for
// analysis tools: the tidy file and its events table, which follow the rows
// as they are decoded, and the metadata (<base>.json), written last, once
// every other file is closed and named. Nothing here can cost the download
// its comma-separated or RAW file: a failure is told and these files stop.
class TidyExport
{
public:
    static const QString MetadataExtension;

    explicit TidyExport(Dialogs &dialogs);

    // The calibration and time zones as the header block shows them.
    void describe(const LoggerHeader &header, const CsvHeaderBlock::Inputs &block);
    // Creates the working files for the base; false when not wanted or not made.
    bool open(const QString &base, const LoggerHeader &header, bool wanted);
    bool isActive() const { return m_active; }
    // Lets the files follow the rows.
    void follow(ScanRows::Sink &sink);
    void close() { m_files.close(); }
    bool renameToFinal() { return m_files.renameToFinal(); }
    // The metadata of the download just ended, named as its files are.
    void writeMetadata(const LoggerHeader &header, const DownloadMetadata::Capture &capture,
                       DownloadMetadata::Download download, bool complete);

private:
    QStringList downloadFiles(bool complete) const;

    Dialogs &m_dialogs;
    TidyFiles m_files;
    CsvHeaderBlock::Inputs m_block;
    QList<TidyColumn> m_columns;
    QString m_base;
    bool m_active = false;
    qint64 m_scans = 0;
    qint64 m_events = 0;
};
