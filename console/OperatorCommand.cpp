#include "console/OperatorCommand.h"

#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"

bool OperatorCommand::run(LoggerConnection &connection, Dialogs &dialogs, const std::function<void()> &command)
{
    if (connection.link.sequences().runCommand(command))
        return true;
    showLoggerBusy(dialogs);
    return false;
}

void OperatorCommand::showLoggerBusy(Dialogs &dialogs)
{
    dialogs.Message_Box(QStringLiteral("The logger is still being read.\r"
                                       "Please wait until its data is shown, then try again."),
                        int(Dialogs::OkOnly) | Dialogs::Information, QStringLiteral("Logger Busy"));
}
