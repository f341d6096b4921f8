#include "cli/CliConvert.h"

#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/ExitCode.h"
#include "logger/download/DownloadRebuild.h"
#include "logger/download/RawDownloadFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

int CliConvert::run(const CliOptions &options, CliDialogs &dialogs)
{
    const QString path = options.arguments.first();
    const RawDownloadFile raw = RawDownloadFile::read(path);
    if (!raw.refusal.isEmpty()) {
        std::fprintf(stderr, "datalogger-cli: %s: %s\n", qPrintable(path), qPrintable(raw.refusal));
        return ExitCode::Refused;
    }
    if (!options.out.isEmpty() && !QDir().mkpath(options.out)) {
        std::fprintf(stderr, "datalogger-cli: cannot create the folder %s\n", qPrintable(options.out));
        return ExitCode::Usage;
    }
    DownloadRebuild rebuild(raw, dialogs);
    rebuild.setExtras(DownloadRebuild::extrasBeside(path));
    const DownloadRebuild::Outcome outcome = rebuild.write(DownloadRebuild::freeBase(path, options.out));
    if (!raw.dataProblem.isEmpty())
        std::fprintf(stderr, "datalogger-cli: %s: data read up to %s\n", qPrintable(path),
                     qPrintable(raw.dataProblem));
    if (options.json) {
        const QJsonObject result{{"written", outcome.written},
                                 {"csv", outcome.written ? outcome.baseName + QStringLiteral(".CSV") : QString()},
                                 {"dataProblem", raw.dataProblem}};
        std::fputs(QJsonDocument(result).toJson(QJsonDocument::Indented).constData(), stdout);
    } else if (outcome.written) {
        std::printf("%s\n", qPrintable(outcome.message));
    } else {
        std::fprintf(stderr, "datalogger-cli: %s\n", qPrintable(outcome.message));
    }
    return outcome.written ? ExitCode::Done : ExitCode::Refused;
}
