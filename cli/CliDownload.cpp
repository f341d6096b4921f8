#include "cli/CliDownload.h"

#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "cli/InterruptWatcher.h"
#include "logger/LoggerConnection.h"
#include "logger/download/DownloadChecks.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

const QString CancelTitle = QStringLiteral("Cancel Download Alert");
const QString AcknowledgeTitle = QStringLiteral("Data Download");

QString endingName(DataDownload::Ending ending)
{
    switch (ending) {
    case DataDownload::Ending::NotStarted: return QStringLiteral("not-started");
    case DataDownload::Ending::Complete: return QStringLiteral("complete");
    case DataDownload::Ending::Cancelled: return QStringLiteral("cancelled");
    case DataDownload::Ending::Aborted: return QStringLiteral("aborted");
    case DataDownload::Ending::SyncCancelled: return QStringLiteral("sync-cancelled");
    case DataDownload::Ending::WriteFailed: return QStringLiteral("write-failed");
    }
    return QString();
}

int exitCodeOf(DataDownload::Ending ending)
{
    switch (ending) {
    case DataDownload::Ending::Complete: return ExitCode::Done;
    case DataDownload::Ending::NotStarted: return ExitCode::Refused;
    default: return ExitCode::DownloadEnded;
    }
}

QJsonValue fileValue(const QString &path)
{
    return QFileInfo::exists(path) ? QJsonValue(path) : QJsonValue();
}

bool checksAccepted(LoggerConnection &c, CliDialogs &dialogs)
{
    // Asking for the download is the acknowledgement its box waits for.
    dialogs.confirmByDeed(AcknowledgeTitle);
    return c.confirmedLogger() && DownloadChecks::acceptHeaderVersion(dialogs, c.header)
        && DownloadChecks::acceptPreviousDownload(dialogs, c.header)
        && DownloadChecks::acknowledgeDownload(dialogs);
}

} // namespace

int CliDownload::run(CliSession &session, const CliOptions &options, CliDialogs &dialogs,
                     CliProgress &progress)
{
    LoggerConnection &c = session.connection();
    const QString folder = QDir(options.out.isEmpty() ? session.dataFolder() : options.out).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "datalogger-cli: cannot create the folder %s\n", qPrintable(folder));
        return ExitCode::Usage;
    }
    DataDownload::Hooks hooks = c.downloadHooks();
    hooks.fileOptions = [folder, &options] {
        return DownloadFiles::Options{folder, true, options.raw, options.tidy};
    };
    hooks.downloadNotes = [&options] { return options.notes; };
    hooks.resumeMode = [&options] {
        return options.resume ? DataDownload::ResumeMode::Require : DataDownload::ResumeMode::Never;
    };
    hooks.statusLine = [&session] { return session.statusLine(); };
    hooks.alertText = [&session] { return session.alertText(); };
    c.download.setHooks(hooks);
    dialogs.setAcceptProposedFile(true);

    QObject::connect(&c.download, &DataDownload::progressRange, &c.download,
                     [&progress](qint64 maximum) { progress.start(QStringLiteral("Downloading"), maximum); });
    QObject::connect(&c.download, &DataDownload::progressChanged, &c.download,
                     [&progress](qint64 value, qint64) { progress.update(value); });
    bool interrupted = false;
    InterruptWatcher watcher([&] {
        interrupted = true;
        // Ctrl+C is the operator's own confirmation of the cancel.
        dialogs.confirmByDeed(CancelTitle);
        c.state.cancelDownload = true;
    });

    bool recorded = false;
    QObject::connect(&c.download, &DataDownload::downloadRecorded, &c.download, [&recorded] { recorded = true; });
    bool started = false;
    session.run([&] {
        if (!checksAccepted(c, dialogs) || interrupted)
            return;
        started = true;
        c.state.cancelDownload = false;
        c.download.subReadData();
        c.state.cancelDownload = false;
    });
    progress.finish();
    if (!started)
        return interrupted || dialogs.refused() ? ExitCode::Refused : ExitCode::LinkFailure;

    const DataDownload::Ending ending = c.download.ending();
    const bool complete = ending == DataDownload::Ending::Complete;
    const QString base = c.download.baseName() + (complete ? QString() : DownloadFiles::AbortedSuffix);
    const QJsonObject result{
        {"ending", endingName(ending)},
        {"csv", fileValue(base + QStringLiteral(".CSV"))},
        {"raw", fileValue(base + QStringLiteral(".RAW"))},
        {"tidy", fileValue(base + TidyFiles::TidyExtension)},
        {"events", fileValue(base + TidyFiles::EventsExtension)},
        {"metadata", fileValue(base + TidyExport::MetadataExtension)},
        {"recorded", recorded},
    };
    if (options.json) {
        std::fputs(QJsonDocument(result).toJson(QJsonDocument::Indented).constData(), stdout);
    } else if (ending != DataDownload::Ending::NotStarted) {
        std::printf("%s: %s\n", qPrintable(endingName(ending)),
                    qPrintable(result["csv"].toString(result["raw"].toString())));
        // One path a line: a download's base may end in a blank.
        if (result["tidy"].isString())
            std::printf("tidy: %s\n", qPrintable(result["tidy"].toString()));
    }
    return exitCodeOf(ending);
}
