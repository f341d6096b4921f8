#pragma once

#include <functional>

class Dialogs;
class LoggerConnection;

// An operator command that talks to the logger runs as the link's one
// sequence, so a header read still under way is never interleaved with it;
// while another sequence runs, the operator is told the logger is busy.
class OperatorCommand
{
public:
    // Runs command now, as the link's sequence; false (after the busy box)
    // when another sequence is running.
    static bool run(LoggerConnection &connection, Dialogs &dialogs, const std::function<void()> &command);
    static void showLoggerBusy(Dialogs &dialogs);
};
