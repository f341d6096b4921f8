#pragma once

#include <QString>

class Dialogs;
struct LoggerHeader;

// The questions asked before a download starts, shared by the Download
// button and the command-line tool. Each returns false when the operator
// answered Cancel.
class DownloadChecks
{
public:
    // The header version this program lays the data out with.
    static const QString SupportedHeaderVersion;

    // The CSV option is off: the file will not be created.
    static bool acceptCsvWarning(Dialogs &dialogs);
    static bool acceptHeaderVersion(Dialogs &dialogs, const LoggerHeader &header);
    static bool acceptPreviousDownload(Dialogs &dialogs, const LoggerHeader &header);
    static bool acknowledgeDownload(Dialogs &dialogs);
};
