// datalogger-cli: the logger's commands without windows, for scripts and
// unattended stations. See the README for the commands, the JSON output and
// the exit codes.
#include "cli/CliConvert.h"
#include "cli/CliDialogs.h"
#include "cli/CliDownload.h"
#include "cli/CliHeaderFile.h"
#include "cli/CliInit.h"
#include "cli/CliMaintenance.h"
#include "cli/CliOptions.h"
#include "cli/CliPorts.h"
#include "cli/CliProgress.h"
#include "cli/CliRealtime.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "cli/StatusReport.h"
#include "logger/LoggerConnection.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>

namespace {

void printJson(const QJsonDocument &document)
{
    std::fputs(document.toJson(QJsonDocument::Indented).constData(), stdout);
}

int ports(const CliOptions &options)
{
    const QJsonArray list = CliPorts::list();
    if (options.json)
        printJson(QJsonDocument(QJsonObject{{"ports", list}}));
    else
        std::fputs(qPrintable(CliPorts::text(list)), stdout);
    return ExitCode::Done;
}

int status(CliSession &session, const CliOptions &options)
{
    const QJsonObject report = StatusReport::build(session.connection(), session.device());
    if (options.json)
        printJson(QJsonDocument(report));
    else
        std::fputs(qPrintable(StatusReport::text(report)), stdout);
    return ExitCode::Done;
}

int runCommand(const CliOptions &options)
{
    if (options.command == u"ports")
        return ports(options);
    if (options.command == u"header") {
        const int refused = CliHeaderFile::checkFile(options);
        if (refused >= 0)
            return refused;
    }
    CliDialogs dialogs(options.yes);
    if (options.command == u"convert")
        return CliConvert::run(options, dialogs);
    CliProgress progress(stderr, !options.quiet);
    CliSession session(options, dialogs, progress);
    const int connected = session.connect();
    if (connected != ExitCode::Done)
        return connected;
    if (options.command == u"status")
        return status(session, options);
    if (options.command == u"download")
        return CliDownload::run(session, options, dialogs, progress);
    if (options.command == u"init")
        return CliInit::run(session, options, dialogs);
    if (options.command == u"header")
        return CliHeaderFile::run(session, options, dialogs);
    if (options.command == u"stop" || options.command == u"reset" || options.command == u"low-power")
        return CliMaintenance::run(session, options, dialogs);
    return CliRealtime::run(session, options);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KORVAN Data Logger Software"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DATALOGGER_VERSION));
    const CliOptions options = CliOptions::parse(QCoreApplication::arguments());
    if (options.exitNow) {
        std::fputs(qPrintable(options.message), options.exitCode ? stderr : stdout);
        return options.exitCode;
    }
    return runCommand(options);
}
