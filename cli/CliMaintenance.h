#pragma once

class CliDialogs;
class CliSession;
struct CliOptions;

// `stop`, `reset` and `low-power`: the main window's maintenance buttons,
// with their questions answered by rule.
class CliMaintenance
{
public:
    static int run(CliSession &session, const CliOptions &options, CliDialogs &dialogs);
};
