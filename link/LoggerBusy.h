#pragma once

#include <functional>

class Dialogs;
class SequenceRunner;

// Operator commands talk to the logger as the link's one sequence, so a
// header read still under way is never interleaved with them; while one
// runs, a new command is refused with "Logger Busy".
class LoggerBusy
{
public:
    // Runs the command as the link's sequence; false (after the box) when
    // another sequence is running.
    static bool runCommand(SequenceRunner &sequences, Dialogs &dialogs, const std::function<void()> &command);
    static void show(Dialogs &dialogs);
};
