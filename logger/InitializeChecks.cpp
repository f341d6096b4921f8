#include "logger/InitializeChecks.h"

#include "logger/LoggerHeader.h"
#include "logger/TestSetup.h"
#include "platform/Dialogs.h"

#include <QTime>

namespace {

const QString Cr = QStringLiteral("\r");
const QString CrLf = QStringLiteral("\r\n");

} // namespace

const QString InitializeChecks::UploadTitle = QStringLiteral("Up-load message");

bool InitializeChecks::monitorAllowed(Dialogs &dialogs, const LoggerHeader &header, int channel)
{
    if (channel < 1 || channel > LoggerHeader::ChannelBlocks
        || !header.channel[size_t(channel - 1)].modelNumber.contains(QStringLiteral("TMP")))
        return true;
    dialogs.Message_Box(QStringLiteral("TMP Sensors are not allowed as monitors."),
                        int(Dialogs::OkOnly) | Dialogs::Information, QStringLiteral("Monitor Channel Information"));
    return false;
}

bool InitializeChecks::acceptMonitorWarnings(Dialogs &dialogs, int monitorChannel, quint32 periodSeconds)
{
    if (monitorChannel == 0)
        return true;
    const QString enabled = QStringLiteral("The MONITOR function is enabled.") + CrLf;
    const QString choice = QStringLiteral("Click OK to continue, or CANCEL to return to setup menu.");
    if (dialogs.Message_Box(
            enabled + QStringLiteral("Power Consumption will be significantly increased!") + CrLf + CrLf
                + QStringLiteral("Please be sure new, HI Capacity batteries are installed!") + CrLf + choice,
            Dialogs::OkCancel, QStringLiteral("Monitor Channel Warning--Battery Power"))
        == Dialogs::Cancel)
        return false;
    if (periodSeconds >= 10)
        return true;
    return dialogs.Message_Box(
               enabled
                   + QStringLiteral("Monitor Mode does not operate reliably when Scan Interval is less than 10 seconds.")
                   + CrLf + QStringLiteral("It does not operate at all below 5 seconds.") + CrLf + CrLf
                   + QStringLiteral("You may continue with Monitor enabled for software test purposes.")
                   + CrLf + choice,
               Dialogs::OkCancel, QStringLiteral("Monitor Channel Warning--Scan Rate"))
        != Dialogs::Cancel;
}

QString InitializeChecks::confirmationText(const TestSetup &s, const QString &startPointer,
                                           quint32 waitSeconds, const QDateTime &startTime)
{
    QString channels;
    for (int channel = 1; channel <= TestSetup::Channels; ++channel) {
        if (s.channelSelect[size_t(channel - 1)] == TestSetup::Active)
            channels += QString::number(channel) + QStringLiteral(", ");
    }
    QString text = QStringLiteral("Scan period: ")
        + QTime(0, 0).addSecs(int(s.periodSeconds)).toString(QStringLiteral("hh:mm:ss")) + Cr
        + QStringLiteral("Number of channels: ") + QString::number(s.highestChannel) + Cr
        + QStringLiteral("Monitor Channel: ") + QString::number(s.monitorChannel) + Cr
        + QStringLiteral("Channel List: ") + channels + Cr
        + QStringLiteral("Start-Pointer for memory (default 000000): ") + startPointer + Cr
        + QStringLiteral("Description: ") + s.projectIdent + Cr
        + QStringLiteral("Start delay: ") + QString::number(waitSeconds) + Cr + Cr
        + QStringLiteral("Current System Date & Time: ")
        + startTime.toString(QStringLiteral("yyyy/MM/dd-hh:mm:ss")) + Cr + Cr
        + QStringLiteral("If these settings are correct, then click OK to continue,") + Cr
        + QStringLiteral("Or, click CANCEL to return to the setup screen.") + Cr
        + QStringLiteral("Data upload should take only a few seconds.");
    if (s.monitorChannel != 0)
        text += CrLf + CrLf + QStringLiteral("NOTE:  Check the MONITOR CHANNEL assignment!") + CrLf;
    return text;
}

bool InitializeChecks::confirmUpload(Dialogs &dialogs, const QString &text)
{
    return dialogs.Message_Box(text, int(Dialogs::OkCancel) | Dialogs::Information, UploadTitle) != Dialogs::Cancel;
}

// The download time holds "x" from the initialization until a download writes it.
bool InitializeChecks::acceptNeverDownloaded(Dialogs &dialogs, const LoggerHeader &header)
{
    if (!header.lastDownloadTime.contains(u'x'))
        return true;
    return dialogs.Message_Box(QStringLiteral("DATA HAS NEVER BEEN DOWNLOADED!") + CrLf + CrLf
                                   + QStringLiteral("   CANCEL to allow download, or") + CrLf
                                   + QStringLiteral("     OK to initialize logger.") + CrLf,
                               int(Dialogs::OkCancel) | Dialogs::Exclamation | Dialogs::DefaultButton2,
                               QStringLiteral("Data Not Downloaded Warning"))
        == Dialogs::Ok;
}

void InitializeChecks::announceUpload(Dialogs &dialogs)
{
    dialogs.Message_Box(QStringLiteral("Please wait while data logging settings are up-loaded to the data logger.") + Cr
                            + QStringLiteral("Data upload should data only a few seconds.") + Cr
                            + QStringLiteral("Acknowledge this message to start upload."),
                        int(Dialogs::OkOnly) | Dialogs::Information, UploadTitle);
}
