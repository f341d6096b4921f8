#pragma once

class CliDialogs;
class CliSession;
struct CliOptions;

// `header save FILE` and `header load FILE`: the factory page's header data
// file commands, the file named on the command line in place of the file
// dialog. A load keeps the logger's own header in the data folder first and
// asks before writing; without --yes that question keeps the logger as it is.
class CliHeaderFile
{
public:
    // Refusals that need no logger (a file to save over, a file to load that
    // cannot be read): an exit code, or -1 to go on.
    static int checkFile(const CliOptions &options);
    static int run(CliSession &session, const CliOptions &options, CliDialogs &dialogs);
};
