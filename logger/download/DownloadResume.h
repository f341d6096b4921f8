#pragma once

#include "logger/download/RawDownloadFile.h"

#include <QString>
#include <optional>

struct LoggerHeader;

// A download that ended early (link abort, cable pulled, adapter gone) keeps
// its "_Aborted" files, and its RAW file holds every line read up to the
// break. The next download of the same logger's same test can take those
// lines from the file and read only the rest from the logger.
class DownloadResume
{
public:
    struct Candidate
    {
        QString rawPath;
        RawDownloadFile raw;
        // Why this download cannot be resumed; empty when it can.
        QString refusal;
        // The address the logger is read from (after the last good line).
        qint64 address() const { return raw.nextAddress(); }
    };

    // The newest download of this logger in the folder that ended early and
    // kept its RAW file, newer than the last download the logger recorded;
    // checked against the logger and test connected (serial number,
    // initialization date, memory pointer).
    static std::optional<Candidate> find(const QString &folder, const LoggerHeader &header, quint32 pointer);
    // Why the RAW's download is not of this logger's present test; empty when it is.
    static QString mismatch(const RawDownloadFile &raw, const LoggerHeader &header, quint32 pointer);
    // The line the notes of a resumed download carry.
    static QString note(const Candidate &candidate);
};
