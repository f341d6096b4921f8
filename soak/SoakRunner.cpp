#include "soak/SoakRunner.h"

#include "sim/LoggerPresets.h"
#include "soak/CrashNote.h"
#include "soak/FolderSnapshot.h"
#include "soak/SoakOperations.h"
#include "soak/SoakRandom.h"
#include "soak/SoakRig.h"

#include <cstdio>

namespace {

QString outcomeName(SoakOperations::Outcome outcome)
{
    switch (outcome) {
    case SoakOperations::Outcome::Succeeded: return QStringLiteral("succeeded");
    case SoakOperations::Outcome::Refused: return QStringLiteral("refused");
    case SoakOperations::Outcome::Failed: return QStringLiteral("failed");
    }
    return QString();
}

// The operations that never write the logger's memories.
bool readsOnly(OperationKind kind)
{
    return kind == OperationKind::Connect || kind == OperationKind::RealTime || kind == OperationKind::HeaderSave;
}

} // namespace

SoakRunner::SoakRunner(const SoakOptions &options) : m_options(options)
{
}

int SoakRunner::run()
{
    std::printf("datalogger-soak: seed %llu, %lld operations\n", static_cast<unsigned long long>(m_options.seed),
                static_cast<long long>(m_options.operations));
    std::fflush(stdout);
    if (m_options.only >= 0)
        runOperation(m_options.only);
    for (qint64 index = 0; m_options.only < 0 && index < m_options.operations; ++index)
        runOperation(index);
    printTally();
    return m_failures;
}

SoakRunner::Plan SoakRunner::plan(SoakRandom &random) const
{
    Plan p;
    // Downloads, whose files hold the promises that matter most, come up
    // three times as often as each other kind.
    static const OperationKind weighted[] = {
        OperationKind::Connect,  OperationKind::Download,   OperationKind::Download,   OperationKind::Download,
        OperationKind::Initialize, OperationKind::Calibrate, OperationKind::RealTime, OperationKind::HeaderSave,
        OperationKind::HeaderLoad,
    };
    p.kind = random.pick(weighted);
    const QList<FaultKind> faults = SoakFault::forOperation(p.kind);
    p.fault = random.chance(0.1) ? FaultKind::None : faults.at(random.between(0, faults.size() - 1));
    return p;
}

// A logger that has what the operation works on: data for a download, a
// test that is not running for real-time readings.
LoggerImage SoakRunner::imageFor(OperationKind kind, SoakRandom &random)
{
    const QDateTime now = VirtualEventLoop().now();
    static const LoggerPreset any[] = {LoggerPreset::Fresh, LoggerPreset::Finished, LoggerPreset::Logging,
                                       LoggerPreset::Downloaded, LoggerPreset::OldHeader};
    static const LoggerPreset withData[] = {LoggerPreset::Finished, LoggerPreset::Logging, LoggerPreset::Downloaded};
    static const LoggerPreset idle[] = {LoggerPreset::Fresh, LoggerPreset::Finished, LoggerPreset::Downloaded};
    const LoggerPreset preset = kind == OperationKind::Download ? random.pick(withData)
        : kind == OperationKind::RealTime                      ? random.pick(idle)
                                                               : random.pick(any);
    return LoggerPresets::build(preset, now);
}

void SoakRunner::runOperation(qint64 index)
{
    SoakRandom random(m_options.seed, index);
    Plan p = plan(random);
    SoakRig rig(imageFor(p.kind, random), random);
    rig.dialogs.setWilling(true);
    rig.dialogs.setTrace(m_options.only >= 0 && m_options.verbose);
    CrashNote::set(QStringLiteral("seed %1 operation %2 (%3, setting up)")
                       .arg(m_options.seed)
                       .arg(index)
                       .arg(operationName(p.kind))
                       .toUtf8());
    try {
        if (!rig.logOn()) {
            fail(index, p, QStringLiteral("the logger was not recognised before the operation"));
            return;
        }
        if (p.kind == OperationKind::HeaderLoad && !SoakOperations(rig, random).saveHeaderFileForLoad()) {
            fail(index, p, QStringLiteral("no header file could be saved for the load"));
            return;
        }
        faulted(rig, random, p, index);
        recover(rig, p, index);
    } catch (const VirtualEventLoop::Stalled &stalled) {
        fail(index, p, QStringLiteral("hung: %1").arg(QString::fromUtf8(stalled.what())));
        if (m_options.verbose && m_options.only >= 0)
            std::printf("  wire pc: %s\n  wire logger: %s\n", rig.wire.fromPc().right(300).replace('\r', '|').constData(),
                        rig.wire.fromLogger().right(600).replace('\r', '|').constData());
    }
    SoakFault::remove(rig);
    ++m_run;
}

void SoakRunner::faulted(SoakRig &rig, SoakRandom &random, Plan &p, qint64 index)
{
    const bool logging = rig.logger.isLogging();
    const FolderSnapshot before = FolderSnapshot::take(rig.folder());
    const LoggerImage image = rig.logger.image();
    rig.wire.clear();
    rig.dialogs.forget();
    rig.dialogs.setWilling(false);
    const qint64 bytes = p.kind == OperationKind::Download ? qint64(rig.connection.capture.values().active.pointer.value) * 3 + 200
                                                           : 12000;
    p.faultText = SoakFault::arm(p.fault, rig, random, bytes);
    CrashNote::set(QStringLiteral("seed %1 operation %2 (%3, fault %4)")
                       .arg(m_options.seed)
                       .arg(index)
                       .arg(operationName(p.kind), p.faultText)
                       .toUtf8());
    SoakOperations operations(rig, random);
    const SoakOperations::Outcome outcome = operations.run(p.kind, p.fault);
    ++m_kinds[operationName(p.kind)];
    ++m_faults[SoakFault::name(p.fault)];
    ++m_outcomes[outcomeName(outcome)];
    m_resumed += operations.resumed();
    if (m_options.verbose)
        std::printf("%lld %s / %s: %s (%s), %d boxes\n", static_cast<long long>(index), qPrintable(operationName(p.kind)),
                    qPrintable(p.faultText), qPrintable(outcomeName(outcome)), qPrintable(operations.detail()),
                    rig.dialogs.boxes());
    for (const QString &problem : operations.problems())
        fail(index, p, problem);
    if (!operations.folderRemoved()) {
        for (const QString &change : before.changesIn(FolderSnapshot::take(rig.folder())))
            fail(index, p, change);
    }
    const bool memoryKept = rig.logger.image().header == image.header && rig.logger.image().data == image.data;
    if (!logging && !memoryKept && (outcome == SoakOperations::Outcome::Refused || readsOnly(p.kind)))
        fail(index, p, QStringLiteral("the logger's memory changed, though the operation %1 (%2)")
                           .arg(outcome == SoakOperations::Outcome::Refused ? QStringLiteral("wrote nothing")
                                                                           : QStringLiteral("only reads"),
                                operations.detail()));
}

// The fault taken away, the operator (now willing) plugs the logger back,
// presses Log On when the port was lost, and runs the same operation again.
void SoakRunner::recover(SoakRig &rig, const Plan &p, qint64 index)
{
    // After a fault of the connection itself the operator reconnects the
    // logger, as the program's boxes ask: a recognised logger that restarted
    // is back at its power-up rate (its bootloader's "?" is an ordinary
    // character to the program), and a logger taken for gone and found
    // again at another rate cannot be read until it is plugged in afresh.
    const bool reconnect = p.fault == FaultKind::BootloaderReset || p.fault == FaultKind::CtsBusy
        || p.fault == FaultKind::CtsFlicker || p.fault == FaultKind::UnplugAtByte;
    SoakFault::remove(rig);
    rig.wire.clear();
    rig.dialogs.setWilling(true);
    rig.settle(5);
    rig.waitIdle();
    if (!rig.port.isOpen())
        rig.logOn();
    else if (!rig.connected() || reconnect)
        rig.replug();
    if (m_options.verbose)
        std::printf("  recovering: port %s, logger %s, header %s, sequence %s\n", rig.port.isOpen() ? "open" : "closed",
                    rig.connection.state.loggerConnected ? "connected" : "not connected",
                    rig.connection.header.headerValid ? "valid" : "invalid",
                    rig.connection.link.sequences().isRunning() ? "running" : "idle");
    if (m_options.verbose && m_options.only >= 0)
        std::printf("  wire pc: %s\n  wire logger: %s\n", rig.wire.fromPc().right(400).replace('\r', '|').constData(),
                    rig.wire.fromLogger().right(600).replace('\r', '|').constData());
    rig.wire.clear();
    rig.dialogs.forget();
    SoakRandom random(m_options.seed ^ 0x5eedULL, index);
    SoakOperations operations(rig, random);
    const SoakOperations::Outcome outcome = operations.run(p.kind, FaultKind::None);
    m_resumed += operations.resumed();
    if (m_options.verbose)
        std::printf("  again: %s (%s)\n", qPrintable(outcomeName(outcome)), qPrintable(operations.detail()));
    if (m_options.verbose && m_options.only >= 0)
        std::printf("  wire pc: %s\n  wire logger: %s\n", rig.wire.fromPc().right(400).replace('\r', '|').constData(),
                    rig.wire.fromLogger().right(600).replace('\r', '|').constData());
    for (const QString &problem : operations.problems())
        fail(index, p, QStringLiteral("after the fault: ") + problem);
    if (outcome != SoakOperations::Outcome::Succeeded)
        fail(index, p, QStringLiteral("with the fault gone the next %1 %2 (%3)")
                           .arg(operationName(p.kind), outcomeName(outcome), operations.detail()));
}

void SoakRunner::fail(qint64 index, const Plan &p, const QString &what)
{
    ++m_failures;
    std::printf("FAIL seed %llu operation %lld (%s, fault %s): %s\n    replay: datalogger-soak --seed %llu --only %lld\n",
                static_cast<unsigned long long>(m_options.seed), static_cast<long long>(index),
                qPrintable(operationName(p.kind)), qPrintable(p.faultText.isEmpty() ? SoakFault::name(p.fault) : p.faultText),
                qPrintable(what), static_cast<unsigned long long>(m_options.seed), static_cast<long long>(index));
    std::fflush(stdout);
}

void SoakRunner::printTally() const
{
    const auto print = [](const char *title, const QMap<QString, int> &counts) {
        std::printf("%s:", title);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            std::printf(" %s %d", qPrintable(it.key()), it.value());
        std::printf("\n");
    };
    std::printf("operations run: %lld\n", static_cast<long long>(m_run));
    print("by kind", m_kinds);
    print("by fault", m_faults);
    print("by outcome", m_outcomes);
    std::printf("downloads resumed (faulted or again after the fault): %d\n", m_resumed);
    std::printf("invariant failures: %d\nseed: %llu\n", m_failures, static_cast<unsigned long long>(m_options.seed));
}
