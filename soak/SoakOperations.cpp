#include "soak/SoakOperations.h"

#include "calibration/CalChannelWrite.h"
#include "calibration/CalFields.h"
#include "logger/HeaderFileCommands.h"
#include "logger/InitializeChecks.h"
#include "logger/RealTimeLine.h"
#include "logger/TestSetup.h"
#include "logger/download/DownloadChecks.h"
#include "soak/DiskLimit.h"
#include "soak/SoakRandom.h"
#include "soak/SoakRig.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

SoakOperations::SoakOperations(SoakRig &rig, SoakRandom &random) : m_rig(rig), m_random(random)
{
}

SoakOperations::Outcome SoakOperations::run(OperationKind kind, FaultKind fault)
{
    m_detail.clear();
    m_problems.clear();
    m_folderRemoved = false;
    m_struck = false;
    switch (kind) {
    case OperationKind::Connect: return connect();
    case OperationKind::Download: return download(fault);
    case OperationKind::Initialize: return initialize();
    case OperationKind::Calibrate: return calibrate();
    case OperationKind::RealTime: return realTime();
    case OperationKind::HeaderSave: return headerSave(fault);
    case OperationKind::HeaderLoad: return headerLoad();
    }
    return Outcome::Failed;
}

// Nothing written to the logger's memories: refused; written but not done:
// failed.
SoakOperations::Outcome SoakOperations::writeOutcome(bool done) const
{
    if (done)
        return Outcome::Succeeded;
    return m_rig.wire.sentAnyOf("bdfq") ? Outcome::Failed : Outcome::Refused;
}

SoakOperations::Outcome SoakOperations::connect()
{
    const bool read = m_rig.replug();
    m_detail = read ? QStringLiteral("header read") : QStringLiteral("no header");
    return read ? Outcome::Succeeded : Outcome::Failed;
}

void SoakOperations::strikeDuringDownload(FaultKind fault, qint64 address)
{
    if (m_struck || address < m_strikeAt)
        return;
    m_struck = true;
    if (fault == FaultKind::OperatorCancel) {
        m_rig.connection.state.cancelDownload = true;
    } else if (fault == FaultKind::FolderRemoved) {
        m_folderRemoved = QDir(m_rig.folder()).removeRecursively();
    } else if (fault == FaultKind::DiskFull) {
        qint64 smallest = -1;
        for (const QFileInfo &file : QDir(m_rig.folder()).entryInfoList({QStringLiteral("*_Aborted.*")}, QDir::Files))
            smallest = smallest < 0 ? file.size() : qMin(smallest, file.size());
        DiskLimit::fillAt(qMax<qint64>(0, smallest) + m_random.between(0, 100));
    }
}

SoakOperations::Outcome SoakOperations::download(FaultKind fault)
{
    LoggerConnection &c = m_rig.connection;
    RandomDialogs &dialogs = m_rig.dialogs;
    DownloadCheck::Facts facts;
    facts.statusLine = SoakRig::StatusText;
    m_strikeAt = m_random.between(0, qint64(c.capture.values().active.pointer.value));
    QObject context;
    // Logging has been stopped by then: the memory read is the memory kept.
    QObject::connect(&c.download, &DataDownload::progressRange, &context, [&](qint64) {
        facts.data = m_rig.logger.image().data;
        ScanRows::Setup &rows = facts.rows;
        rows.columns = DownloadColumns::fromChannelConfig(c.capture.values().channelConfig);
        rows.activeChannels = std::clamp<int>(c.header.activeChannelCount, 0, LoggerHeader::ChannelBlocks);
        rows.waitSeconds = c.capture.values().preset.waits.value;
        rows.firstIndex = rows.waitSeconds > 255 ? -2 : -1;
        rows.startDate = c.header.startDate;
        rows.periodSeconds = c.header.scanPeriod;
        rows.eventScanNumber = c.capture.eventScanNumber();
        rows.firstEventScan = c.statusByte.scanNumber();
    });
    QObject::connect(&c.download, &DataDownload::endAddressShown, &context,
                     [&](const QString &decimal, const QString &) { facts.endAddress = decimal.toLongLong(); });
    QObject::connect(&c.download, &DataDownload::progressChanged, &context,
                     [&](qint64 address, qint64) { strikeDuringDownload(fault, address); });
    bool started = false;
    m_rig.runCommand([&] {
        if (!c.confirmedLogger() || !DownloadChecks::acceptHeaderVersion(dialogs, c.header)
            || !DownloadChecks::acceptPreviousDownload(dialogs, c.header) || !DownloadChecks::acknowledgeDownload(dialogs))
            return;
        started = true;
        c.state.cancelDownload = false;
        c.download.subReadData();
        c.state.cancelDownload = false;
    });
    if (!started) {
        m_detail = QStringLiteral("not asked for");
        return Outcome::Refused;
    }
    facts.ending = c.download.ending();
    facts.base = c.download.baseName();
    facts.folderRemoved = m_folderRemoved;
    facts.sent = m_rig.wire.soundDataLines();
    for (const auto &[title, answer] : dialogs.answers()) {
        if (title == u"SubReadData Channel Sync Error")
            facts.syncRetries.push_back(answer == Dialogs::Retry);
    }
    checkDownload(facts);
    if (facts.ending != DataDownload::Ending::NotStarted && !facts.base.isEmpty())
        m_resumed = DownloadCheck::resumedLines(DownloadCheck::lines(DownloadCheck::filePath(facts, QStringLiteral(".RAW")))) > 0;
    static const char *const endings[] = {"not started", "complete", "cancelled", "aborted", "sync cancelled", "write failed"};
    m_detail = QString::fromLatin1(endings[int(facts.ending)]) + (m_resumed ? QStringLiteral(", resumed") : QString());
    if (facts.ending == DataDownload::Ending::Complete)
        return Outcome::Succeeded;
    return facts.ending == DataDownload::Ending::NotStarted ? Outcome::Refused : Outcome::Failed;
}

void SoakOperations::checkDownload(const DownloadCheck::Facts &facts)
{
    m_problems += DownloadCheck::problems(facts);
}

SoakOperations::Outcome SoakOperations::initialize()
{
    LoggerConnection &c = m_rig.connection;
    RandomDialogs &dialogs = m_rig.dialogs;
    TestSetup setup;
    const int channels = int(m_random.between(1, 4));
    for (int channel = 1; channel <= channels; ++channel)
        setup.channelSelect[std::size_t(channel - 1)] = TestSetup::Active;
    setup.highestChannel = channels;
    setup.projectIdent = QStringLiteral("soak test");
    setup.waitSeconds = quint32(m_random.between(1, 254));
    setup.periodSeconds = quint32(m_random.between(1, 3600));
    setup.scans = quint32(m_random.between(10, 1000));
    const QDateTime start = m_rig.loop.now().addSecs(setup.waitSeconds);
    setup.stopTime = start.addSecs(qint64(setup.scans) * setup.periodSeconds);
    bool initialized = false;
    QObject context;
    QObject::connect(&c.initializer, &LoggerInitializer::headerProgressSet, &context,
                     [&initialized](int value) { initialized = initialized || value == 1; });
    c.state.commAbort = false;
    m_rig.runCommand([&] {
        if (!c.confirmedLogger()
            || !InitializeChecks::confirmUpload(
                dialogs, InitializeChecks::confirmationText(setup, c.initializer.factory().startPointer, setup.waitSeconds, start))
            || !InitializeChecks::acceptNeverDownloaded(dialogs, c.header))
            return;
        InitializeChecks::announceUpload(dialogs);
        c.initializer.setSetup(setup);
        c.initializer.subInitLogger();
    });
    m_detail = initialized ? QStringLiteral("initialized") : QStringLiteral("not initialized");
    return writeOutcome(initialized);
}

SoakOperations::Outcome SoakOperations::calibrate()
{
    LoggerConnection &c = m_rig.connection;
    const int channel = int(m_random.between(0, 7));
    const ChannelCalRecord &record = c.header.channel.at(std::size_t(channel));
    CalBoxes boxes;
    for (int field = 1; field < CalFields::CalType; ++field)
        boxes[field] = CalFields::recordText(record, field);
    boxes[CalFields::ChannelNumber] = QString::number(channel + 1);
    static const char *const slopes[] = {"0.0625", "1", "-2.5E-3", "12345.6"};
    static const char *const offsets[] = {"-25", "0", "3.75", "1E+3"};
    boxes[CalFields::LoggerSlope] = QString::fromLatin1(m_random.pick(slopes));
    boxes[CalFields::LoggerOffset] = QString::fromLatin1(m_random.pick(offsets));
    CalComputation::State state;
    if (m_random.chance(0.5)) {
        state.computedSlope = boxes[CalFields::LoggerSlope].toFloat();
        state.computedOffset = m_random.chance(0.5) ? boxes[CalFields::LoggerOffset].toFloat() : 99.0f;
    }
    m_rig.waitIdle();
    CalChannelWrite write({c, m_rig.dialogs, [](int) {}, [] {}, {}});
    const bool saved = write.save(channel, boxes, state, m_rig.loop.now().date());
    m_detail = QStringLiteral("channel %1 %2").arg(channel + 1).arg(saved ? "written" : "not written");
    return writeOutcome(saved);
}

SoakOperations::Outcome SoakOperations::realTime()
{
    LoggerConnection &c = m_rig.connection;
    if (c.statusByte.loggingActive()) {
        m_detail = QStringLiteral("logging");
        return Outcome::Refused;
    }
    std::optional<QString> reply;
    bool waiting = false;
    QObject context;
    QObject::connect(&c.link, &SerialLink::lineReceived, &context, [&](const QString &line) {
        if (waiting && line.startsWith(u'r') && RealTimeLine::isReadingLine(line, 1))
            reply = line;
    });
    int readings = 0;
    for (int n = 0; n < 3; ++n) {
        reply.reset();
        c.state.commAbort = false;
        m_rig.runCommand([&] {
            waiting = true;
            c.transport.sendCommand(QStringLiteral("r"));
        });
        for (int step = 0; step < 20 && !reply; ++step)
            m_rig.loop.advanceSeconds(0.1);
        waiting = false;
        readings += reply ? 1 : 0;
        m_rig.loop.advanceSeconds(1);
    }
    m_detail = QStringLiteral("%1 of 3 readings").arg(readings);
    return readings == 3 ? Outcome::Succeeded : Outcome::Failed;
}

bool SoakOperations::saveHeader(bool *done)
{
    LoggerConnection &c = m_rig.connection;
    const QString folder = m_rig.folder();
    HeaderFileCommands commands({c, m_rig.dialogs, [folder] { return folder; }, [this] { return m_rig.loop.now(); }});
    return m_rig.runCommand([&] { *done = commands.saveHeaderFile(); });
}

SoakOperations::Outcome SoakOperations::headerSave(FaultKind fault)
{
    if (fault == FaultKind::DiskFull)
        DiskLimit::fillAt(m_random.between(0, 4000));
    if (fault == FaultKind::FolderRemoved)
        m_folderRemoved = QDir(m_rig.folder()).removeRecursively();
    bool done = false;
    saveHeader(&done);
    DiskLimit::lift();
    m_detail = done ? QStringLiteral("saved") : QStringLiteral("not saved");
    if (done)
        return Outcome::Succeeded;
    return m_rig.dialogs.fileDialogCancelled() ? Outcome::Refused : Outcome::Failed;
}

bool SoakOperations::saveHeaderFileForLoad()
{
    bool done = false;
    const QString path = QDir(m_rig.folder()).filePath(QStringLiteral("for-load.hdr"));
    m_rig.dialogs.setOpenFile(path);
    const QString before = m_rig.folder();
    saveHeader(&done);
    // The save dialog named it; give it the name the load opens.
    for (const QFileInfo &file : QDir(before).entryInfoList({QStringLiteral("soak-*")}, QDir::Files, QDir::Time))
        return done && QFile::rename(file.filePath(), path);
    return false;
}

SoakOperations::Outcome SoakOperations::headerLoad()
{
    LoggerConnection &c = m_rig.connection;
    const QString folder = m_rig.folder();
    HeaderFileCommands commands({c, m_rig.dialogs, [folder] { return folder; }, [this] { return m_rig.loop.now(); }});
    bool done = false;
    m_rig.runCommand([&] { done = commands.loadHeaderFile(); });
    m_detail = done ? QStringLiteral("loaded") : QStringLiteral("not loaded");
    return writeOutcome(done);
}
