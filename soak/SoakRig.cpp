#include "soak/SoakRig.h"

#include "platform/StartupSettings.h"

#include <QDir>

const QString SoakRig::StatusText = QStringLiteral("soak status line");

SoakRig::SoakRig(const LoggerImage &image, SoakRandom &random)
    : dialogs(random)
    , settings(scratch.filePath(QStringLiteral("settings.ini")))
    , logger(loop, image)
    , port(loop, logger)
    , connection(port, loop, settings, dialogs)
{
    loop.setTimeLimitNs(TimeLimitNs);
    QDir().mkpath(folder());
    dialogs.setFolder(folder());
    StartupSettings(settings).save(QStringLiteral("CommPortNum"), QStringLiteral("1"));
    StartupSettings(settings).save(QStringLiteral("DefaultPath"), folder());
    wire.attach(port);
    wireCapture();
    wireDownload();
}

SoakRig::~SoakRig()
{
    connection.shutDown();
    port.setWireTap({});
}

// Without windows the capture takes the channel selection the logger holds.
void SoakRig::wireCapture()
{
    LoggerConnection *c = &connection;
    c->capture.setHooks(c->captureHooks());
}

void SoakRig::wireDownload()
{
    DataDownload::Hooks hooks = connection.downloadHooks();
    const QString data = folder();
    hooks.fileOptions = [data] { return DownloadFiles::Options{data, true, true}; };
    // Every download that ended early is offered for resuming; the operator's
    // random answer takes it up, starts afresh or stops.
    hooks.resumeMode = [] { return DataDownload::ResumeMode::Offer; };
    hooks.statusLine = [] { return StatusText; };
    hooks.alertText = [] { return QString(); };
    hooks.downloadNotes = [] { return QStringLiteral("soak"); };
    hooks.timeZoneHours = [] { return 0; };
    connection.download.setHooks(hooks);
}

bool SoakRig::connected()
{
    return connection.state.loggerConnected && connection.header.headerValid
        && !connection.link.sequences().isRunning();
}

bool SoakRig::runSequence()
{
    bool started = false;
    const QMetaObject::Connection watch = QObject::connect(
        &connection.link, &SerialLink::newConnectionStarting, &connection.link, [&started] { started = true; });
    for (int step = 0; step < 240 && !(started && !connection.link.sequences().isRunning()); ++step)
        loop.advanceSeconds(0.5);
    QObject::disconnect(watch);
    settle(1);
    return connected();
}

bool SoakRig::logOn()
{
    connection.link.subCommConnect();
    return runSequence();
}

bool SoakRig::replug()
{
    logger.unplug();
    settle(10);
    logger.plugIn();
    return runSequence();
}

bool SoakRig::waitIdle(double seconds)
{
    for (double waited = 0; connection.link.sequences().isRunning() && waited < seconds; waited += 0.5)
        loop.advanceSeconds(0.5);
    return !connection.link.sequences().isRunning();
}

bool SoakRig::runCommand(const std::function<void()> &command)
{
    return waitIdle() && connection.link.sequences().runCommand(command);
}
