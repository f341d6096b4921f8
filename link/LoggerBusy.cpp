#include "link/LoggerBusy.h"

#include "link/SequenceRunner.h"
#include "platform/Dialogs.h"

#include <QString>

bool LoggerBusy::runCommand(SequenceRunner &sequences, Dialogs &dialogs, const std::function<void()> &command)
{
    if (sequences.runCommand(command))
        return true;
    show(dialogs);
    return false;
}

void LoggerBusy::show(Dialogs &dialogs)
{
    dialogs.Message_Box(QStringLiteral("The logger is still being read.\rPlease wait until its data is shown, then try again."),
                        int(Dialogs::OkOnly) | Dialogs::Information, QStringLiteral("Logger Busy"));
}
