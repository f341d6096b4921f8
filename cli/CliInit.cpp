#include "cli/CliInit.h"

#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "logger/InitializeChecks.h"
#include "logger/LoggerConnection.h"
#include "logger/SetupCalculations.h"
#include "logger/TestSetup.h"
#include "platform/StartupSettings.h"
#include "platform/qt/QtEventLoop.h"

#include <algorithm>
#include <limits>

namespace {

// The Defaults tab's start delay: 1 to 254 seconds, 15 when the store holds
// nothing usable.
quint32 configuredWait(SettingsStore &settings)
{
    double seconds = 0;
    const QString text = StartupSettings(settings).get(QStringLiteral("WaitPeriod"), QStringLiteral("15"));
    if (!StartupSettings::parseNumber(text, &seconds) || seconds < 1 || seconds > 254)
        return 15;
    return quint32(StartupSettings::roundHalfEven(seconds));
}

} // namespace

TestSetup CliInit::compose(CliSession &session, const CliOptions &o, QDateTime *start)
{
    const LoggerHeader &header = session.connection().header;
    TestSetup t;
    QList<int> channels = o.channels;
    // The monitor channel is made active, as choosing it on the Setup tab does.
    if (o.monitor > 0 && !channels.contains(o.monitor))
        channels << o.monitor;
    for (int channel : channels) {
        t.channelSelect[size_t(channel - 1)] = TestSetup::Active;
        t.highestChannel = std::max(t.highestChannel, channel);
    }
    t.monitorChannel = o.monitor;
    t.calInterval = quint32(std::max(0, o.calInterval));
    t.projectIdent = o.description;
    t.timeZoneOffset = StartupSettings(session.settings()).getInt(QStringLiteral("GMTDelta"), 0, -24, 24);
    t.waitSeconds = o.waitSeconds >= 0 ? quint32(o.waitSeconds) : configuredWait(session.settings());

    SetupCalculations::MemoryLayout layout;
    layout.memorySize = qint32(std::min<quint32>(header.memoryInstalled, std::numeric_limits<qint32>::max()));
    layout.highestChannel = qint16(t.highestChannel);
    layout.monitorOn = t.monitorChannel != 0;
    layout.calInterval = qint32(t.calInterval);
    const SetupCalculations::Duration d = SetupCalculations::loggingDuration(
        CliOptions::periodUnit(o.periodText), CliOptions::periodValue(o.periodText),
        SetupCalculations::maxScans(layout), 0);
    t.periodSeconds = quint32(std::max(0, d.periodSeconds));
    t.scans = quint32(std::max(0, d.maxScans));
    *start = session.loop().now().addSecs(t.waitSeconds);
    t.stopTime = start->addSecs(qint64(d.durationSeconds));
    return t;
}

int CliInit::run(CliSession &session, const CliOptions &options, CliDialogs &dialogs)
{
    LoggerConnection &c = session.connection();
    if (!InitializeChecks::monitorAllowed(dialogs, c.header, options.monitor))
        return ExitCode::Refused;
    QDateTime start;
    const TestSetup setup = compose(session, options, &start);
    bool initialized = false;
    QObject::connect(&c.initializer, &LoggerInitializer::headerProgressSet, &c.initializer,
                     [&initialized](int value) { initialized = initialized || value == 1; });
    c.state.commAbort = false;
    session.run([&] {
        if (!c.confirmedLogger() || setup.periodSeconds == 0
            || !InitializeChecks::acceptMonitorWarnings(dialogs, setup.monitorChannel, setup.periodSeconds)
            || !InitializeChecks::confirmUpload(
                dialogs, InitializeChecks::confirmationText(setup, c.initializer.factory().startPointer,
                                                            setup.waitSeconds, start))
            || !InitializeChecks::acceptNeverDownloaded(dialogs, c.header))
            return;
        InitializeChecks::announceUpload(dialogs);
        c.initializer.setSetup(setup);
        c.initializer.subInitLogger();
    });
    if (initialized)
        return ExitCode::Done;
    return c.state.commAbort && !dialogs.refused() ? ExitCode::LinkFailure : ExitCode::Refused;
}
