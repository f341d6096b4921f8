#pragma once

#include "logger/HeaderDataFile.h"

#include <QDateTime>
#include <functional>
#include <optional>

class Dialogs;
class LoggerConnection;

// The logger's whole header read into a header data file. Saving a header
// to a file uses it, and so does everything that overwrites header lines
// (a header file load, the header memory test): they first keep the
// logger's own header in a file of their own in the data folder, which the
// header file load restores.
class HeaderBackup
{
public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        std::function<QString()> dataFolder;
        std::function<QDateTime()> now;
    };

    explicit HeaderBackup(const Parts &parts);

    // Every line of the header as the logger holds it, or nothing (after a
    // box) when a line could not be read: a file with a gap would not
    // restore the header.
    std::optional<QList<HeaderDataFile::Record>> readWholeHeader();
    // Writes the records as a header data file; false after a box.
    bool writeFile(const QString &path, const QList<HeaderDataFile::Record> &records);
    // Reads the whole header into "<serial>-<date-time> HEADER BACKUP.txt" in
    // the data folder: the file's path, or nothing after a box.
    std::optional<QString> keep();
    // "<serial>-<yyyyMMdd-hhmmss> <kind>.txt".
    QString proposedName(const QString &kind) const;

private:
    Parts m_p;
};
