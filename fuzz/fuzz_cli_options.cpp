// The command-line tool's options. Input: the arguments after the program
// name, separated by NUL bytes. Properties: a parse either stops with a
// message (a usage error with its exit code, or the help) or gives a known
// command with every value within its range.
#include "cli/CliOptions.h"
#include "cli/ExitCode.h"
#include "fuzz/FuzzCheck.h"

namespace {

const QStringList Commands{"ports", "status", "download", "init", "realtime", "header",
                           "stop", "reset", "low-power"};

void checkValues(const CliOptions &o, const QString &args)
{
    const auto require = [&](bool holds, const char *property) {
        FuzzCheck::require(holds, property, args);
    };
    require(Commands.contains(o.command), "a known command");
    require(QStringList({"9600", "115200", "auto"}).contains(o.baud), "baud of the list");
    require(o.timeoutSeconds >= 1 && o.timeoutSeconds <= 86400, "timeout in range");
    require(o.periodSeconds == 0 || (o.periodSeconds >= 1 && o.periodSeconds <= 65535),
            "period in range");
    for (qsizetype i = 0; i < o.channels.size(); ++i) {
        require(o.channels[i] >= 1 && o.channels[i] <= 8, "channels 1-8");
        require(i == 0 || o.channels[i] > o.channels[i - 1], "channels ascending, each once");
    }
    require(o.monitor >= 0 && o.monitor <= 8, "monitor 0-8");
    require(o.waitSeconds == -1 || o.waitSeconds >= 1, "wait in range");
    require(o.calInterval >= -1 && o.calInterval <= 255, "cal interval in range");
    require(o.intervalSeconds >= 0.5 && o.intervalSeconds <= 86400, "interval in range");
    require(o.count >= 0 && o.count <= 100000000, "count in range");
    require(o.command != u"init" || (o.periodSeconds >= 1 && !o.channels.isEmpty()),
            "init has a period and channels");
    require(!(o.demo && !o.port.isEmpty()), "demo and port exclusive");
    require(o.command == u"header" ? o.arguments.size() == 2 : o.arguments.isEmpty(),
            "arguments only for header");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments{QStringLiteral("datalogger-cli")};
    if (size > 0)
        arguments << QString::fromUtf8(FuzzCheck::bytes(data, size)).split(QChar(0));
    const QString args = arguments.join(u' ');
    const CliOptions o = CliOptions::parse(arguments);
    if (o.exitNow) {
        FuzzCheck::require(!o.message.isEmpty(), "a stop has a message", args);
        FuzzCheck::require(o.exitCode == 0 || o.exitCode == ExitCode::Usage,
                           "usage errors exit with the usage code", args);
        return 0;
    }
    FuzzCheck::require(o.message.isEmpty() && o.exitCode == 0, "a good parse has no message", args);
    checkValues(o, args);
    return 0;
}
