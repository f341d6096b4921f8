#include "cli/CliRealtime.h"

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "cli/InterruptWatcher.h"
#include "logger/LoggerConnection.h"
#include "logger/RealTimeConversion.h"
#include "logger/RealTimeLine.h"
#include "platform/qt/QtEventLoop.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

DisplayMode modeOf(CliOptions::Units units)
{
    switch (units) {
    case CliOptions::Units::MilliVolts: return DisplayMode::TrueMillivolts;
    case CliOptions::Units::Counts: return DisplayMode::Counts;
    default: return DisplayMode::EngineeringUnits;
    }
}

const char *unitsName(CliOptions::Units units)
{
    switch (units) {
    case CliOptions::Units::MilliVolts: return "mv";
    case CliOptions::Units::Counts: return "counts";
    default: return "eu";
    }
}

double valueOf(const LoggerConnection &c, int channel, int count, DisplayMode mode)
{
    return RealTimeConversion::value(
        count, mode, RealTimeConversion::calibration(c.header.channel[size_t(channel - 1)], c.capture.values()));
}

void print(const LoggerConnection &c, const QString &line, const QDateTime &time, const CliOptions &options)
{
    const DisplayMode mode = modeOf(options.units);
    const auto counts = RealTimeLine::counts(line, c.header.channelBlocks());
    QJsonArray channels;
    QStringList cells;
    for (size_t i = 0; i < counts.size(); ++i) {
        if (!counts[i])
            continue;
        const int channel = int(i) + 1;
        const double value = valueOf(c, channel, *counts[i], mode);
        const QString clip = RealTimeConversion::clipText(*counts[i]);
        channels.append(QJsonObject{{"channel", channel},
                                    {"count", *counts[i]},
                                    {"value", std::isfinite(value) ? QJsonValue(value) : QJsonValue()},
                                    {"clip", clip.isEmpty() ? QJsonValue() : QJsonValue(clip)},
                                    {"units", c.header.channel[i].engUnits.trimmed()}});
        cells << QStringLiteral("%1: %2").arg(channel).arg(clip.isEmpty() ? RealTimeConversion::text(value, mode) : clip);
    }
    if (options.json) {
        const QJsonObject reading{{"time", time.toString(Qt::ISODateWithMs)},
                                  {"mode", QString::fromLatin1(unitsName(options.units))},
                                  {"channels", channels}};
        std::printf("%s\n", QJsonDocument(reading).toJson(QJsonDocument::Compact).constData());
    } else {
        std::printf("%s  %s\n", qPrintable(time.toString(Qt::ISODate)), qPrintable(cells.join(QStringLiteral("  "))));
    }
    std::fflush(stdout);
}

} // namespace

int CliRealtime::run(CliSession &session, const CliOptions &options)
{
    LoggerConnection &c = session.connection();
    if (c.statusByte.loggingActive()) {
        std::fprintf(stderr, "datalogger-cli: the logger is logging; stop its test first for live readings\n");
        return ExitCode::Refused;
    }
    std::optional<QString> reply;
    bool waiting = false;
    QObject::connect(&c.link, &SerialLink::lineReceived, &c.link, [&](const QString &line) {
        if (waiting && line.startsWith(u'r') && RealTimeLine::isReadingLine(line, 1))
            reply = line;
    });
    bool stopped = false;
    InterruptWatcher watcher([&stopped] { stopped = true; });
    for (int n = 0; !stopped && (options.count == 0 || n < options.count); ++n) {
        const double due = session.loop().elapsedSeconds() + options.intervalSeconds;
        reply.reset();
        c.state.commAbort = false;
        session.run([&] {
            waiting = true;
            c.transport.sendCommand(QStringLiteral("r"));
        });
        // The reply line may follow the command's own wait.
        session.waitFor([&] { return reply.has_value() || stopped; }, 2.0);
        waiting = false;
        if (stopped)
            break;
        if (!reply) {
            std::fprintf(stderr, "datalogger-cli: the logger did not answer the reading request\n");
            return ExitCode::LinkFailure;
        }
        print(c, *reply, session.loop().now(), options);
        if (options.count == 0 || n + 1 < options.count)
            session.waitFor([&] { return stopped || session.loop().elapsedSeconds() >= due; },
                            options.intervalSeconds);
    }
    return ExitCode::Done;
}
