#pragma once

struct CliOptions;
class CliDialogs;

// "convert FILE.RAW": the download's comma-separated file written again from
// its RAW file, into --out or beside the RAW, under a name not yet in use.
namespace CliConvert {
int run(const CliOptions &options, CliDialogs &dialogs);
}
