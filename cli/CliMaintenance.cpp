#include "cli/CliMaintenance.h"

#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "logger/LoggerConnection.h"

int CliMaintenance::run(CliSession &session, const CliOptions &options, CliDialogs &dialogs)
{
    LoggerConnection &c = session.connection();
    MaintenanceButtons &buttons = c.buttons;
    c.state.commAbort = false;
    session.run([&] {
        if (options.command == u"stop")
            buttons.cmdForceStop();
        else if (options.command == u"reset")
            buttons.cmdResetLogger();
        else
            buttons.cmdLoPower();
    });
    if (dialogs.refused())
        return ExitCode::Refused;
    return c.state.commAbort ? ExitCode::LinkFailure : ExitCode::Done;
}
