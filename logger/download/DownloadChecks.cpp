#include "logger/download/DownloadChecks.h"

#include "logger/LoggerHeader.h"
#include "platform/Dialogs.h"

namespace {

const QString Cr = QStringLiteral("\r");
const QString CrLf = QStringLiteral("\r\n");

} // namespace

const QString DownloadChecks::SupportedHeaderVersion = QStringLiteral("0762");

bool DownloadChecks::acceptCsvWarning(Dialogs &dialogs)
{
    return dialogs.Message_Box(
               QStringLiteral("The Write CSV File Option on the Factory COMM Tab is NOT selected.") + Cr
                   + QStringLiteral("If you continue to download, you will be asked for the file name,") + Cr
                   + QStringLiteral("BUT the file will NOT be created!") + Cr
                   + QStringLiteral("Your Excel compatible data file will NOT BE SAVED!"),
               int(Dialogs::OkCancel) | Dialogs::Critical,
               QStringLiteral("Critical Warning! Write CSV File DISABLED"))
        != Dialogs::Cancel;
}

bool DownloadChecks::acceptHeaderVersion(Dialogs &dialogs, const LoggerHeader &header)
{
    const QString version = header.headerVersion;
    if (version == SupportedHeaderVersion)
        return true;
    return dialogs.Message_Box(
               QStringLiteral("Data will download correctly ONLY with the header version ") + Cr
                   + QStringLiteral("   used to initialize the logger.") + Cr
                   + QStringLiteral("The data currently in the logger was formatted using Header Version: ")
                   + version + QStringLiteral(".") + Cr
                   + QStringLiteral("The Header Version supported by this software is:") + QString(20, u' ')
                   + SupportedHeaderVersion + QStringLiteral(".") + Cr + Cr
                   + QStringLiteral("If you continue to downloaded, the data may be incorrect.") + Cr
                   + QStringLiteral("     Do you want to continue the download?") + Cr
                   + QStringLiteral("     (NO recommended--use the correct software version.)"),
               int(Dialogs::OkCancel) | Dialogs::Critical | Dialogs::DefaultButton2,
               QStringLiteral("Critical Warning! Change in Header Version Detected"))
        != Dialogs::Cancel;
}

// The download time holds "x" from the initialization until a download
// writes it.
bool DownloadChecks::acceptPreviousDownload(Dialogs &dialogs, const LoggerHeader &header)
{
    if (header.lastDownloadTime.contains(u'x'))
        return true;
    return dialogs.Message_Box(
               QStringLiteral("A previous download has been detected.") + Cr + Cr
                   + QStringLiteral("The data was downloaded on: ") + header.lastDownloadTime + Cr
                   + QStringLiteral("The download file name is: ") + header.lastDownloadFile
                   + QStringLiteral("     .") + Cr + Cr
                   + QStringLiteral("Do you want to continue the download?"),
               int(Dialogs::OkCancel) | Dialogs::Critical | Dialogs::DefaultButton2,
               QStringLiteral("Previous Download Alert (Sub CmdDownload)"))
        != Dialogs::Cancel;
}

bool DownloadChecks::acknowledgeDownload(Dialogs &dialogs)
{
    return dialogs.Message_Box(
               QStringLiteral("Please wait while data is downloaded from the data logger.") + CrLf + CrLf
                   + QStringLiteral("Data download may take a many minutes depending upon") + CrLf
                   + QStringLiteral("the magnitude of stored data.") + CrLf + CrLf
                   + QStringLiteral("Acknowledge this message to initiate download."),
               int(Dialogs::OkCancel) | Dialogs::Information, QStringLiteral("Data Download"))
        != Dialogs::Cancel;
}
