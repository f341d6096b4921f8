#pragma once

#include <QDateTime>
#include <QString>

class Dialogs;
struct LoggerHeader;
struct TestSetup;

// The questions the Initialize command asks before a test is written, for a
// caller without the Setup tab (the command-line tool). Each returns false
// when the operator answered Cancel or the check refused.
class InitializeChecks
{
public:
    static const QString UploadTitle;

    // A temperature sensor changes too slowly to be worth the monitor's
    // extra readings.
    static bool monitorAllowed(Dialogs &dialogs, const LoggerHeader &header, int channel);
    // The battery and scan-rate warnings of a monitor channel.
    static bool acceptMonitorWarnings(Dialogs &dialogs, int monitorChannel, quint32 periodSeconds);
    // The settings shown for confirmation before the upload.
    static QString confirmationText(const TestSetup &setup, const QString &startPointer,
                                    quint32 waitSeconds, const QDateTime &startTime);
    static bool confirmUpload(Dialogs &dialogs, const QString &text);
    // A test never downloaded is kept unless the operator says OK.
    static bool acceptNeverDownloaded(Dialogs &dialogs, const LoggerHeader &header);
    static void announceUpload(Dialogs &dialogs);
};
