#pragma once

class CliDialogs;
class CliSession;
struct CliOptions;
struct TestSetup;
class QDateTime;

// `init`: the test the options describe, composed as the Setup tab composes
// it (the scans that fit the logger's memory, start now plus the start
// delay, stop when the memory is full), then every check and question of
// the Initialize command before the initialization writes it. Without --yes
// the confirmation keeps the logger as it is.
class CliInit
{
public:
    static int run(CliSession &session, const CliOptions &options, CliDialogs &dialogs);

private:
    static TestSetup compose(CliSession &session, const CliOptions &options, QDateTime *start);
};
