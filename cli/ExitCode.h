#pragma once

// The exit codes of datalogger-cli; scripts depend on them, so they never change.
namespace ExitCode {
enum : int {
    Done = 0,
    Usage = 1,          // unknown command or option, missing or bad value
    NoLogger = 2,       // no port, a port that cannot be opened, no logger on it
    LinkFailure = 3,    // the logger stopped answering or a read failed
    Refused = 4,        // a check refused, or a question was answered the safe way
    DownloadEnded = 5,  // the download ended early; its files keep their _Aborted names
};
} // namespace ExitCode
