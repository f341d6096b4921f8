#include "cli/CliOptions.h"

#include "cli/ExitCode.h"
#include "logger/SetupCalculations.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cmath>
#include <map>

namespace {

// The longest scan period the logger keeps: 65535 seconds (18.2 hours).
constexpr qint64 LongestPeriodSeconds = 65535;
// The start delay the Defaults tab accepts.
constexpr qint64 LongestWaitSeconds = 254;

struct Command
{
    const char *name;
    const char *summary;
    QStringList options; // besides the common ones
};

const QList<Command> &commands()
{
    static const QList<Command> list{
        {"ports", "List the serial ports and what the system knows of them.", {}},
        {"status", "Connect, read the logger and print its identity, test, memory, battery, alerts "
                   "and download state.", {}},
        {"download", "Download the recorded scans into the data folder (CSV, tidy CSV with its events "
                     "and metadata, and RAW with --raw).",
         {"out", "notes", "raw", "no-tidy", "resume"}},
        {"convert", "convert FILE.RAW: write the CSV again from a download's RAW file, without a logger.",
         {"out"}},
        {"init", "Initialize and start a test, with every check of the Initialize command.",
         {"period", "channels", "monitor", "wait", "description", "cal-interval", "start"}},
        {"realtime", "Print live readings at an interval.", {"interval", "count", "units"}},
        {"header", "header save FILE | header load FILE: the header data file.", {}},
        {"stop", "Stop the logger's test (force stop).", {}},
        {"reset", "Reset the logger.", {}},
        {"low-power", "Stop the logger and put it into low power for storage.", {}},
    };
    return list;
}

const Command *findCommand(const QString &name)
{
    for (const Command &c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

const QStringList CommonOptions{"help", "port", "demo", "preset", "image", "baud", "json", "yes",
                                "no-handshake", "quiet", "timeout"};

QList<QCommandLineOption> allOptions()
{
    return {
        {{"h", "help"}, "Show help (for a command: datalogger-cli COMMAND --help)."},
        {"port", "Serial DEVICE of the logger (default: the configured port).", "DEVICE"},
        {"demo", "Use the built-in simulated logger."},
        {"preset", "Demo: start the simulated logger afresh as NAME.", "NAME"},
        {"image", "Demo: the file that keeps the simulated logger's memory.", "FILE"},
        {"baud", "9600, 115200 or auto (default auto: 115200 when the logger can).", "RATE"},
        {"json", "Machine-readable output: one JSON document (one line per reading for realtime)."},
        {"yes", "Accept the questions the windows would ask (never needed for safe answers)."},
        {"no-handshake", "The line has no CTS (pseudo-terminals, some adapters): take the logger as "
                         "present while the port is open."},
        {"quiet", "No progress output."},
        {"timeout", "Seconds to wait for the logger and its header (default 60).", "SECONDS"},
        {"out", "Folder for the download files (default: the data folder).", "DIR"},
        {"notes", "The operator's download notes.", "TEXT"},
        {"raw", "Write the RAW file too."},
        {"resume", "Resume the download that ended early into the folder's _Aborted files, when the "
                   "logger and its test are the same; otherwise say why and stop (with --yes: download "
                   "afresh)."},
        {"no-tidy", "Write no tidy CSV, events table or metadata (.json)."},
        {"period", "Scan period: 60s, 5m, 2h.", "DURATION"},
        {"channels", "Active channels: 1-4 or 1,3,5.", "LIST"},
        {"monitor", "Monitor channel (0: none).", "N"},
        {"wait", "Start delay in seconds, 1 to 254 (default: the Defaults tab's).", "SECONDS"},
        {"description", "Test description.", "TEXT"},
        {"cal-interval", "Calibration scan every N scans, 0 to 255 (default 0: none).", "N"},
        {"start", "When to start: now.", "WHEN"},
        {"interval", "Realtime: seconds between readings (default 1).", "SECONDS"},
        {"count", "Realtime: number of readings (default: until stopped).", "N"},
        {"units", "Realtime: eu, mv or counts (default eu).", "UNITS"},
    };
}

QString helpText(const Command *command, const QString &program)
{
    QCommandLineParser parser;
    QStringList wanted = CommonOptions;
    if (command) {
        wanted += command->options;
        parser.setApplicationDescription(QString::fromLatin1(command->summary));
    } else {
        QString text = QStringLiteral("Headless tool for KORVAN data loggers.\n\nCommands:\n");
        for (const Command &c : commands())
            text += QStringLiteral("  %1  %2\n").arg(QString::fromLatin1(c.name).leftJustified(10),
                                                       QString::fromLatin1(c.summary));
        text += QStringLiteral("\nExit codes: 0 done, 1 usage, 2 no port or no logger, 3 link failure,\n"
                               "4 refused by a check or a safe answer, 5 download ended early.");
        parser.setApplicationDescription(text);
    }
    for (const QCommandLineOption &option : allOptions())
        if (wanted.contains(option.names().last()))
            parser.addOption(option);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 command ? QString::fromLatin1(command->name) : QStringLiteral("The command."));
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("datalogger-cli"));
    if (!program.isEmpty())
        text.replace(program, QStringLiteral("datalogger-cli"));
    return text;
}

CliOptions usageError(const QString &text)
{
    CliOptions options;
    options.exitNow = true;
    options.exitCode = ExitCode::Usage;
    options.message = QStringLiteral("datalogger-cli: ") + text + u'\n';
    return options;
}

bool parseInt(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok || number < low || number > high)
        return false;
    *value = number;
    return true;
}

} // namespace

qint64 CliOptions::parseDuration(const QString &text, qint64 maxSeconds)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,9}(?:\\.\\d{1,6})?)([smh]?)$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return -1;
    const double unit = match.captured(2) == u"h" ? 3600.0 : match.captured(2) == u"m" ? 60.0 : 1.0;
    const double seconds = match.captured(1).toDouble() * unit;
    if (!std::isfinite(seconds) || seconds < 1.0 || seconds > double(maxSeconds))
        return -1;
    return qint64(std::llround(seconds));
}

QList<int> CliOptions::parseChannels(const QString &text)
{
    QList<int> channels;
    for (const QString &part : text.split(u',')) {
        const QStringList ends = part.split(u'-');
        qint64 first = 0;
        qint64 last = 0;
        if (ends.size() > 2 || !parseInt(ends.first(), 1, 8, &first)
            || !parseInt(ends.last(), 1, 8, &last) || last < first)
            return {};
        for (qint64 c = first; c <= last; ++c)
            if (!channels.contains(int(c)))
                channels << int(c);
    }
    std::sort(channels.begin(), channels.end());
    return channels;
}

CliOptions CliOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(allOptions());
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    const QStringList positional = parser.positionalArguments();
    const Command *command = positional.isEmpty() ? nullptr : findCommand(positional.first());
    if (parser.isSet(QStringLiteral("help"))) {
        CliOptions options;
        options.exitNow = true;
        options.message = helpText(command, arguments.value(0));
        return options;
    }
    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given (try --help)"));
    if (!command)
        return usageError(QStringLiteral("unknown command '%1' (try --help)").arg(positional.first()));
    for (const QString &name : parser.optionNames()) {
        const QString longName = name == u"h" ? QStringLiteral("help") : name;
        if (!CommonOptions.contains(longName) && !command->options.contains(longName))
            return usageError(QStringLiteral("option --%1 does not apply to %2").arg(longName, positional.first()));
    }

    CliOptions o;
    o.command = positional.first();
    o.arguments = positional.mid(1);
    if (o.command == u"header") {
        if (o.arguments.size() != 2 || (o.arguments[0] != u"save" && o.arguments[0] != u"load"))
            return usageError(QStringLiteral("header needs 'save FILE' or 'load FILE'"));
    } else if (o.command == u"convert") {
        if (o.arguments.size() != 1)
            return usageError(QStringLiteral("convert needs the RAW file: convert FILE.RAW"));
    } else if (!o.arguments.isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'").arg(o.arguments.first()));
    }
    o.port = parser.value(QStringLiteral("port"));
    o.demo = parser.isSet(QStringLiteral("demo"));
    o.preset = parser.value(QStringLiteral("preset"));
    o.image = parser.value(QStringLiteral("image"));
    if (o.demo && !o.port.isEmpty())
        return usageError(QStringLiteral("--demo and --port exclude each other"));
    if (!o.demo && (!o.preset.isEmpty() || !o.image.isEmpty()))
        return usageError(QStringLiteral("--preset and --image need --demo"));
    o.baud = parser.isSet(QStringLiteral("baud")) ? parser.value(QStringLiteral("baud")) : QStringLiteral("auto");
    if (!QStringList{"9600", "115200", "auto"}.contains(o.baud))
        return usageError(QStringLiteral("--baud must be 9600, 115200 or auto, not '%1'").arg(o.baud));
    o.json = parser.isSet(QStringLiteral("json"));
    o.yes = parser.isSet(QStringLiteral("yes"));
    o.noHandshake = parser.isSet(QStringLiteral("no-handshake"));
    o.quiet = parser.isSet(QStringLiteral("quiet"));
    qint64 number = 0;
    if (parser.isSet(QStringLiteral("timeout"))) {
        if (!parseInt(parser.value(QStringLiteral("timeout")), 1, 86400, &number))
            return usageError(QStringLiteral("--timeout must be 1 to 86400 seconds"));
        o.timeoutSeconds = int(number);
    }
    o.out = parser.value(QStringLiteral("out"));
    o.notes = parser.value(QStringLiteral("notes"));
    o.raw = parser.isSet(QStringLiteral("raw"));
    o.resume = parser.isSet(QStringLiteral("resume"));
    o.tidy = !parser.isSet(QStringLiteral("no-tidy"));

    if (parser.isSet(QStringLiteral("period"))) {
        o.periodText = parser.value(QStringLiteral("period")).trimmed();
        o.periodSeconds = parseDuration(o.periodText, LongestPeriodSeconds);
        if (o.periodSeconds >= 0 && SetupCalculations::checkPeriod(periodUnit(o.periodText), periodValue(o.periodText))
                != SetupCalculations::PeriodCheck::Accepted)
            return usageError(QStringLiteral("--period '%1' is outside the Setup tab's range for its unit: "
                                             "1 to 3600 s, 0.1 to 1092 m, 0.1 to 18.2 h")
                                  .arg(o.periodText));
        if (o.periodSeconds < 0)
            return usageError(QStringLiteral("--period '%1' is not a scan period from 1s to 18.2h (65535s), "
                                             "such as 60s, 5m or 2h")
                                  .arg(parser.value(QStringLiteral("period"))));
    }
    if (parser.isSet(QStringLiteral("channels"))) {
        o.channels = parseChannels(parser.value(QStringLiteral("channels")));
        if (o.channels.isEmpty())
            return usageError(QStringLiteral("--channels '%1' is not a list of channels 1-8, such as 1-4 or 1,3")
                                  .arg(parser.value(QStringLiteral("channels"))));
    }
    if (parser.isSet(QStringLiteral("monitor"))) {
        if (!parseInt(parser.value(QStringLiteral("monitor")), 0, 8, &number))
            return usageError(QStringLiteral("--monitor must be a channel 1-8, or 0 for none"));
        o.monitor = int(number);
    }
    if (parser.isSet(QStringLiteral("wait"))) {
        if (!parseInt(parser.value(QStringLiteral("wait")), 1, LongestWaitSeconds, &number))
            return usageError(QStringLiteral("--wait must be 1 to %1 seconds").arg(LongestWaitSeconds));
        o.waitSeconds = number;
    }
    o.description = parser.value(QStringLiteral("description"));
    if (parser.isSet(QStringLiteral("cal-interval"))) {
        if (!parseInt(parser.value(QStringLiteral("cal-interval")), 0, 255, &number))
            return usageError(QStringLiteral("--cal-interval must be 0 to 255 scans"));
        o.calInterval = int(number);
    }
    if (parser.isSet(QStringLiteral("start"))) {
        if (parser.value(QStringLiteral("start")) != u"now")
            return usageError(QStringLiteral("--start takes 'now'"));
        o.startNow = true;
    }
    if (parser.isSet(QStringLiteral("interval"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("interval")).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0.5 || seconds > 86400)
            return usageError(QStringLiteral("--interval must be 0.5 to 86400 seconds"));
        o.intervalSeconds = seconds;
    }
    if (parser.isSet(QStringLiteral("count"))) {
        if (!parseInt(parser.value(QStringLiteral("count")), 1, 100000000, &number))
            return usageError(QStringLiteral("--count must be a number of readings from 1"));
        o.count = int(number);
    }
    if (parser.isSet(QStringLiteral("units"))) {
        static const std::map<QString, Units> names{
            {"eu", Units::Engineering}, {"mv", Units::MilliVolts}, {"counts", Units::Counts}};
        const auto found = names.find(parser.value(QStringLiteral("units")));
        if (found == names.end())
            return usageError(QStringLiteral("--units must be eu, mv or counts"));
        o.units = found->second;
    }
    if (o.command == u"init" && (o.periodText.isEmpty() || o.channels.isEmpty()))
        return usageError(QStringLiteral("init needs --period and --channels"));
    return o;
}

SetupCalculations::Unit CliOptions::periodUnit(const QString &text)
{
    return text.endsWith(u'h')   ? SetupCalculations::Unit::Hours
           : text.endsWith(u'm') ? SetupCalculations::Unit::Minutes
                                 : SetupCalculations::Unit::Secs;
}

double CliOptions::periodValue(const QString &text)
{
    const bool unit = text.endsWith(u'h') || text.endsWith(u'm') || text.endsWith(u's');
    return (unit ? text.chopped(1) : text).toDouble();
}
