#pragma once

class CliSession;
struct CliOptions;

// `realtime`: reads the logger every --interval seconds, as "Start RT
// Display" does, and prints every installed channel in engineering units,
// true millivolts or counts: a line per reading, or a JSON line per reading
// with --json. A logger that is logging is not read (its test would have to
// be stopped or followed); that is refused.
class CliRealtime
{
public:
    static int run(CliSession &session, const CliOptions &options);
};
