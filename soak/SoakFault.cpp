#include "soak/SoakFault.h"

#include "soak/DiskLimit.h"
#include "soak/SoakRandom.h"
#include "soak/SoakRig.h"

#include <QDir>

QString SoakFault::name(FaultKind kind)
{
    switch (kind) {
    case FaultKind::None: return QStringLiteral("none");
    case FaultKind::UnplugAtByte: return QStringLiteral("unplug");
    case FaultKind::AdapterPulled: return QStringLiteral("adapter-pulled");
    case FaultKind::CtsFlicker: return QStringLiteral("cts-flicker");
    case FaultKind::CtsBusy: return QStringLiteral("cts-busy");
    case FaultKind::NoiseBytes: return QStringLiteral("noise");
    case FaultKind::BadChecksums: return QStringLiteral("bad-checksums");
    case FaultKind::ShortOrLongLines: return QStringLiteral("short-long-lines");
    case FaultKind::OtherAddresses: return QStringLiteral("other-addresses");
    case FaultKind::MissingEchoes: return QStringLiteral("missing-echoes");
    case FaultKind::BootloaderReset: return QStringLiteral("bootloader-reset");
    case FaultKind::SlowLogger: return QStringLiteral("slow-logger");
    case FaultKind::DiskFull: return QStringLiteral("disk-full");
    case FaultKind::FolderRemoved: return QStringLiteral("folder-removed");
    case FaultKind::OperatorCancel: return QStringLiteral("operator-cancel");
    }
    return QString();
}

QList<FaultKind> SoakFault::all()
{
    QList<FaultKind> kinds;
    for (int k = int(FaultKind::None); k <= int(FaultKind::OperatorCancel); ++k)
        kinds << FaultKind(k);
    return kinds;
}

QList<FaultKind> SoakFault::forOperation(OperationKind operation)
{
    QList<FaultKind> kinds;
    for (FaultKind kind : all()) {
        const bool pcSide = kind == FaultKind::DiskFull || kind == FaultKind::FolderRemoved;
        if (kind == FaultKind::OperatorCancel && operation != OperationKind::Download)
            continue;
        if (pcSide && operation != OperationKind::Download && operation != OperationKind::HeaderSave)
            continue;
        kinds << kind;
    }
    return kinds;
}

namespace {

int count(SoakRandom &random)
{
    return random.chance(0.1) ? SimFaults::Forever : int(random.between(1, 8));
}

QString countText(int n)
{
    return n == SimFaults::Forever ? QStringLiteral("for good") : QString::number(n);
}

QByteArray noise(SoakRandom &random)
{
    QByteArray bytes;
    for (qint64 n = random.between(1, 6); n > 0; --n)
        bytes += char(random.between(0, 255));
    return bytes;
}

} // namespace

QString SoakFault::arm(FaultKind kind, SoakRig &rig, SoakRandom &random, qint64 bytes)
{
    SimFaults &faults = rig.logger.faults();
    const qint64 at = random.between(0, bytes);
    const qint64 atNs = random.between(0, qint64(bytes) * 1000000LL);
    const QString name = SoakFault::name(kind);
    switch (kind) {
    case FaultKind::UnplugAtByte:
        faults.unplugAfterBytes(at);
        return name + QStringLiteral(" after %1 bytes").arg(at);
    case FaultKind::AdapterPulled:
        rig.scheduledFaults.push_back(rig.loop.scheduleAfter(atNs, [&rig] { rig.port.setAdapterPresent(false); }));
        return name + QStringLiteral(" after %1 ms").arg(atNs / 1000000);
    case FaultKind::CtsFlicker: {
        const int per = int(random.between(1, 4));
        const int settle = int(random.between(2, 400));
        rig.logger.flickerCts(per, settle);
        return name + QStringLiteral(" every %1 readings for %2").arg(per).arg(settle);
    }
    case FaultKind::CtsBusy: {
        const qint64 forNs = random.between(1, 8000) * 1000000LL;
        rig.scheduledFaults.push_back(rig.loop.scheduleAfter(atNs, [&rig, forNs] { rig.logger.holdCtsBusy(forNs); }));
        return name + QStringLiteral(" for %1 ms after %2 ms").arg(forNs / 1000000).arg(atNs / 1000000);
    }
    case FaultKind::NoiseBytes: {
        const QByteArray bytesOfNoise = noise(random);
        faults.noiseAfterBytes(at, bytesOfNoise);
        return name + QStringLiteral(" %1 after %2 bytes").arg(QString::fromLatin1(bytesOfNoise.toHex())).arg(at);
    }
    case FaultKind::BadChecksums: {
        const int n = count(random);
        random.chance(0.5) ? faults.wrongChecksums(n) : faults.lowerCaseChecksums(n);
        return name + u' ' + countText(n);
    }
    case FaultKind::ShortOrLongLines: {
        const int n = count(random);
        random.chance(0.5) ? faults.shortLines(n) : faults.longLines(n);
        return name + u' ' + countText(n);
    }
    case FaultKind::OtherAddresses: {
        const int n = count(random);
        faults.otherAddresses(n);
        return name + u' ' + countText(n);
    }
    case FaultKind::MissingEchoes: {
        const int n = count(random);
        faults.dropEchoes(n);
        return name + u' ' + countText(n);
    }
    case FaultKind::BootloaderReset:
        faults.promptAtPowerUp(random.chance(0.7));
        faults.restartAfterBytes(at);
        return name + QStringLiteral(" after %1 bytes").arg(at);
    case FaultKind::SlowLogger: {
        // Slower than the echo time-out, every command is sent three times
        // and a download of thousands of lines crawls on for hours: that is
        // kept to the short operations.
        const qint64 slowest = bytes > 12000 ? 1500 : 4000;
        const qint64 latency = random.between(1, slowest) * 1000000LL;
        rig.port.setReplyLatencyNs(latency);
        return name + QStringLiteral(" %1 ms").arg(latency / 1000000);
    }
    default:
        return name;
    }
}

void SoakFault::remove(SoakRig &rig)
{
    DiskLimit::lift();
    for (quint64 id : rig.scheduledFaults)
        rig.loop.cancel(id);
    rig.scheduledFaults.clear();
    QDir().mkpath(rig.folder());
    rig.logger.faults().clear();
    rig.logger.flickerCts(1, 0);
    rig.port.setReplyLatencyNs(0);
    rig.port.setAdapterPresent(true);
    // Out long enough for the program to see it gone (a shorter absence
    // counts as a false disconnect, and the logger is taken as still there).
    if (!rig.logger.isPluggedIn()) {
        rig.settle(5);
        rig.logger.plugIn();
    }
}
