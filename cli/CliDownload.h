#pragma once

class CliDialogs;
class CliProgress;
class CliSession;
struct CliOptions;

// `download`: the checks and questions of the Download button, then the
// download into the data folder (or --out), its notes from --notes. Ctrl+C
// ends it as Cancel Download does: after the line being read, with the files
// kept under their _Aborted names and the notes written.
class CliDownload
{
public:
    // The exit code; the session must be connected.
    static int run(CliSession &session, const CliOptions &options, CliDialogs &dialogs,
                   CliProgress &progress);
};
