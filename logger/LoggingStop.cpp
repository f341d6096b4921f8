#include "logger/LoggingStop.h"

#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"

bool LoggingStop::stopped(LoggerConnection &connection, Dialogs &dialogs, const QString &action)
{
    StatusByteCommands &status = connection.statusByte;
    if (!status.loggingActive())
        return true;
    const QString CrLf = QStringLiteral("\r\n");
    if (dialogs.Message_Box(QStringLiteral("Logging is enabled.") + CrLf + action
                                + QStringLiteral(" would corrupt the running test.") + CrLf + CrLf
                                + QStringLiteral("Do you want to turn off logging now?"),
                            int(Dialogs::OkCancel) | Dialogs::Question | Dialogs::DefaultButton2,
                            QStringLiteral("Stop Logging?"))
        != Dialogs::Ok)
        return false;
    status.subDisableLogging();
    return !connection.state.commAbort;
}
