#include "app/ProgramOptions.h"

#include "platform/PortNames.h"
#include "sim/LoggerPresets.h"

#include <QCommandLineParser>

ProgramOptions ProgramOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Operator program for KORVAN sensor data loggers on a serial port."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program version and exit."));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Use the built-in simulated logger as the port."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Use serial DEVICE for this run instead of the "
                                                 "configured port number."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption preset(QStringLiteral("preset"),
                                    QStringLiteral("Demo mode: start the simulated logger afresh "
                                                   "as one of: %1 (default: as its image file "
                                                   "left it, else finished).")
                                        .arg(LoggerPresets::names().join(QStringLiteral(", "))),
                                    QStringLiteral("NAME"));
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("File that keeps the demo logger's memory "
                                                  "between runs."),
                                   QStringLiteral("FILE"));
    parser.addOptions({help, version, demo, port, preset, image});
    const auto usage = [&parser] {
        return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                         QStringLiteral("datalogger"));
    };

    ProgramOptions options;
    if (!parser.parse(arguments)) {
        options.exitNow = true;
        options.exitCode = 2;
        options.message = parser.errorText() + u'\n' + usage();
        return options;
    }
    if (parser.isSet(help)) {
        options.exitNow = true;
        options.message = usage();
        return options;
    }
    if (parser.isSet(version)) {
        options.exitNow = true;
        options.message = QStringLiteral("datalogger %1 (Z8-v7.7.0)\n").arg(DATALOGGER_VERSION);
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.exitNow = true;
        options.exitCode = 2;
        options.message = QStringLiteral("Unexpected argument: %1\n%2")
                              .arg(parser.positionalArguments().first(), usage());
        return options;
    }
    options.demo = parser.isSet(demo);
    options.port = parser.value(port);
    options.preset = parser.value(preset);
    options.image = parser.value(image);
    return options;
}

QString ProgramOptions::dataFolder() const
{
    return demo ? PortNames::demoDataFolder() : PortNames::defaultDataFolder();
}

FrmStartup::Options ProgramOptions::windowOptions() const
{
    return FrmStartup::Options{dataFolder(), demo, port};
}
