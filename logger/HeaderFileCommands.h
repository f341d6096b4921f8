#pragma once

#include "logger/HeaderBackup.h"
#include "logger/HeaderDataFile.h"

#include <QDateTime>
#include <functional>
#include <optional>

class Dialogs;
class LoggerConnection;

// Saving a logger's whole header to a header data file, and loading such a
// file into a logger (to restore or clone a header). Before a load the
// logger's own header is kept in a file of its own in the data folder, so a
// load that goes wrong, or a file that was the wrong one, can be undone.
class HeaderFileCommands
{
public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        std::function<QString()> dataFolder;
        std::function<QDateTime()> now;
    };

    static const QString Filter;

    explicit HeaderFileCommands(const Parts &parts);

    // cmdSaveHeaderFile: true when the file was written.
    bool saveHeaderFile();
    // cmdReadHeaderFile: true when every record was written.
    bool loadHeaderFile();

private:
    std::optional<QByteArray> readFile(const QString &path);
    bool refused(const QString &path, const HeaderDataFile::Parsed &parsed);
    bool writeRecords(QList<HeaderDataFile::Record> records, const QString &backup);

    Parts m_p;
    HeaderBackup m_backup;
};
