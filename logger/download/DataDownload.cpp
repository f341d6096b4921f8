#include "logger/download/DataDownload.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "link/StatusByteCommands.h"
#include "logger/EventCapture.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/HeaderReader.h"
#include "logger/LoggerHeader.h"
#include "logger/download/DownloadNotes.h"
#include "logger/download/DownloadSections.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString Cr = QStringLiteral("\r");
const QString ResumeTitle = QStringLiteral("Resume Download");
constexpr int DefaultBatteryThreshold = 5000;
constexpr int LineBytes = 16;
constexpr quint32 LongWaitSeconds = 255;
// What a slope of 0 is replaced by, so no reading is divided by it.
const CalValue UnitSlope{QStringLiteral("1"), 1.0f};

QString outcomeName(DataDownload::Ending ending)
{
    switch (ending) {
    case DataDownload::Ending::Complete: return QStringLiteral("complete");
    case DataDownload::Ending::Cancelled: return QStringLiteral("cancelled");
    case DataDownload::Ending::Aborted: return QStringLiteral("aborted");
    case DataDownload::Ending::SyncCancelled: return QStringLiteral("sync-cancelled");
    case DataDownload::Ending::WriteFailed: return QStringLiteral("write-failed");
    case DataDownload::Ending::NotStarted: break;
    }
    return QString();
}

bool isBatteryUnits(const QString &units)
{
    const QString u = units.trimmed();
    return u == QLatin1String("Vbat") || u == QLatin1String("vbat");
}
} // namespace

// One download's working state.
struct DataDownload::Run
{
    ScanRows::Setup rows;
    quint32 pointer = 0;
    qint64 endAddress = 0;
    qint64 address = 0;
    bool cancelled = false;
    bool aborted = false;
    QDateTime started;
    bool lowBattery = false;
    bool firstEventReached = false;
    qint64 firstEventIndex = 0;
    // The lines below its address come from the RAW file of a download that
    // ended early.
    std::optional<DownloadResume::Candidate> resume;
};

DataDownload::DataDownload(const Parts &parts)
    : m_header(parts.header)
    , m_transport(parts.transport)
    , m_statusByte(parts.statusByte)
    , m_capture(parts.capture)
    , m_headerReader(parts.headerReader)
    , m_state(parts.state)
    , m_loop(parts.loop)
    , m_dialogs(parts.dialogs)
    , m_files(parts.dialogs)
    , m_tidy(parts.dialogs)
{
}

DataDownload::~DataDownload() = default;

DownloadColumns DataDownload::columns() const
{
    return m_hooks.columns ? m_hooks.columns() : DownloadColumns{};
}

DownloadFiles::Options DataDownload::fileOptions() const
{
    return m_hooks.fileOptions ? m_hooks.fileOptions() : DownloadFiles::Options{};
}

quint32 DataDownload::installedMemory() const
{
    return m_hooks.installedMemory ? m_hooks.installedMemory() : m_header.memoryInstalled;
}

void DataDownload::subParseHdrtoCSV()
{
    CsvHeaderBlock::Inputs inputs;
    inputs.columns = columns();
    inputs.calInterval = m_capture.values().preset.calInterval.value;
    inputs.presentOffsetHours = m_hooks.timeZoneHours
        ? m_hooks.timeZoneHours()
        : -m_loop.now().offsetFromUtc() / 3600;
    m_block = CsvHeaderBlock::build(m_header, inputs);
    m_tidy.describe(m_header, inputs);
}

void DataDownload::subReadData()
{
    m_ending = Ending::NotStarted;
    Run run;
    if (!prepare(run) || !chooseResume(run) || !openFiles(run))
        return;
    writeHeadings(run);
    boundToMemory(run);
    markEndOfData(run);
    readMemory(run);
    if (m_ending == Ending::SyncCancelled || m_ending == Ending::WriteFailed)
        closeFiles();
    else
        complete(run);
    writeMetadata(run);
}

bool DataDownload::prepare(Run &run)
{
    run.rows.batteryChannel = ScanRows::NoBatteryChannel;
    run.rows.batteryThreshold = DefaultBatteryThreshold;
    findBatteryChannel(run);
    if (m_statusByte.loggingActive() && !stopLoggingAccepted())
        return false;
    subParseHdrtoCSV();
    m_statusByte.subDisableLogging();
    Q_EMIT processing();
    DownloadSections::replaceZeroSlopes(m_header);
    m_state.commAbort = false;
    m_statusByte.subDisableDump();
    run.pointer = m_capture.values().active.pointer.value;
    if (run.pointer == 0) {
        m_dialogs.Message_Box(QStringLiteral("No Data to Download.  Pointer is 0"), Dialogs::OkOnly,
                              QString());
        return false;
    }
    Q_EMIT progressRange(run.pointer);
    run.rows.firstIndex = m_capture.values().preset.waits.value > LongWaitSeconds ? -2 : -1;
    return true;
}

// A download of this logger that ended early, found in the data folder, is
// offered (or, asked for, refused with its reason). The last line taken from
// its file is read again from the logger and must match, so a file edited or
// a memory changed since is never stitched to what the logger holds now.
bool DataDownload::chooseResume(Run &run)
{
    const ResumeMode mode = m_hooks.resumeMode ? m_hooks.resumeMode() : ResumeMode::Never;
    if (mode == ResumeMode::Never)
        return true;
    std::optional<DownloadResume::Candidate> candidate =
        DownloadResume::find(QDir(fileOptions().folder).absolutePath(), m_header, run.pointer);
    if (candidate && candidate->refusal.isEmpty())
        candidate->refusal = memoryProblem(*candidate);
    if (!candidate && mode == ResumeMode::Offer)
        return true;
    const ResumeChoice choice = askResume(candidate, mode);
    if (choice == ResumeChoice::Resume)
        run.resume = std::move(candidate);
    return choice != ResumeChoice::Stop;
}

DataDownload::ResumeChoice DataDownload::askResume(const std::optional<DownloadResume::Candidate> &candidate,
                                                   ResumeMode mode)
{
    const QString fresh = QStringLiteral("Press OK to download everything, Cancel to stop.");
    QString refusal;
    if (!candidate)
        refusal = QStringLiteral("There is no download of this logger that ended early in ")
            + QDir::toNativeSeparators(fileOptions().folder) + u'.';
    else if (!candidate->refusal.isEmpty())
        refusal = QStringLiteral("The download that ended early in") + CrLf
            + QDir::toNativeSeparators(candidate->rawPath) + CrLf + QStringLiteral("cannot be resumed: ")
            + candidate->refusal;
    if (!refusal.isEmpty()) {
        const int answer = m_dialogs.Message_Box(refusal + CrLf + CrLf + fresh,
                                                 int(Dialogs::OkCancel) | Dialogs::Exclamation, ResumeTitle);
        return answer == Dialogs::Ok ? ResumeChoice::Fresh : ResumeChoice::Stop;
    }
    if (mode == ResumeMode::Require)
        return ResumeChoice::Resume;
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("A download of this test ended early:") + CrLf
            + QDir::toNativeSeparators(candidate->rawPath) + CrLf
            + QStringLiteral("%1 of %2 bytes were read.")
                  .arg(candidate->address())
                  .arg(candidate->raw.live.active.pointer.value)
            + CrLf + CrLf
            + QStringLiteral("Press Yes to resume it, No to download everything again, Cancel to stop."),
        int(Dialogs::YesNoCancel) | Dialogs::Question, ResumeTitle);
    if (answer == Dialogs::Yes)
        return ResumeChoice::Resume;
    return answer == Dialogs::No ? ResumeChoice::Fresh : ResumeChoice::Stop;
}

QString DataDownload::memoryProblem(const DownloadResume::Candidate &candidate)
{
    const QString address = fnHex6(qint32(candidate.address() - LineBytes));
    const QString line = m_transport.lineReader().fnReadHexDatae(address);
    m_state.commAbort = false;
    // A line the link could not read proves nothing: the file is only
    // stitched to a memory seen to hold what it holds.
    if (line.isEmpty())
        return QStringLiteral("the logger's memory at address %1 could not be read to compare it with the file.")
            .arg(address);
    if (line != candidate.raw.dataLines.last().text)
        return QStringLiteral("the logger's memory at address %1 is not what the file holds.").arg(address);
    return QString();
}

// The last channel measuring the battery in "Vbat" is judged against the
// factory page's battery limit.
void DataDownload::findBatteryChannel(Run &run)
{
    for (int c = 0; c < LoggerHeader::ChannelBlocks; ++c) {
        if (isBatteryUnits(m_header.channel[c].engUnits))
            run.rows.batteryChannel = c;
    }
    if (run.rows.batteryChannel == ScanRows::NoBatteryChannel)
        return;
    ChannelCalRecord &battery = m_header.channel[run.rows.batteryChannel];
    if (battery.slope.value == 0.0f) {
        battery.slope = UnitSlope;
        m_dialogs.Message_Box(
            QStringLiteral("Battery voltage Calibration data is such that the gain equals zero.") + CrLf
                + QStringLiteral("This will cause a divide by zero error so the gain has been set to one."),
            int(Dialogs::OkOnly) | Dialogs::Critical,
            QStringLiteral("subReadData - Battery voltage gain equals zero. itVBatChan =")
                + QString::number(run.rows.batteryChannel));
    }
    const double limit = m_headerReader.batteryLimits().limit;
    const double counts = (limit - double(battery.offset.value)) / double(battery.slope.value);
    run.rows.batteryThreshold = int(std::clamp<qint64>(qRound64(counts), -32768, 32767));
}

bool DataDownload::stopLoggingAccepted()
{
    const int stop = m_dialogs.Message_Box(
        QStringLiteral("Logging is enabled.") + CrLf + QStringLiteral("Logging must be turned off before continuing.")
            + CrLf + CrLf + QStringLiteral("You must re-initialize the logger to continue") + CrLf
            + QStringLiteral("logging without time-base errors.") + CrLf + CrLf
            + QStringLiteral("Do you want to turn off logging now?") + CrLf,
        Dialogs::OkCancel, QStringLiteral("subReadData: Stop Logging?"));
    if (stop == Dialogs::Cancel)
        return false;
    m_dialogs.beep();
    return m_dialogs.Message_Box(QStringLiteral("Do you really want to stop the logger to download?"),
                                 int(Dialogs::YesNo) | int(Dialogs::Question) | Dialogs::DefaultButton2,
                                 QStringLiteral("SubReadData: Stop for downloading?"))
        == Dialogs::Yes;
}

bool DataDownload::openFiles(Run &run)
{
    run.started = m_loop.now();
    DownloadFiles::Options options = fileOptions();
    options.rawForResume = true;
    if (!m_files.subOpenFile(m_header.serialNumber, run.started, options))
        return false;
    ScanRows::Setup &rows = run.rows;
    rows.columns = columns();
    rows.activeChannels = std::clamp<int>(m_header.activeChannelCount, 0, LoggerHeader::ChannelBlocks);
    rows.waitSeconds = m_capture.values().preset.waits.value;
    rows.startDate = m_header.startDate;
    rows.periodSeconds = m_header.scanPeriod;
    rows.eventScanNumber = m_capture.eventScanNumber();
    rows.firstEventScan = m_statusByte.scanNumber();
    m_tidy.open(m_files.baseName(), m_header, options.tidy);
    return true;
}

void DataDownload::writeHeadings(Run &run)
{
    const DownloadSections::Origin origin{run.started, hook(m_hooks.locationCode), m_files.baseName()};
    DownloadSections::LiveSection live;
    live.statusText = m_statusByte.downloadStatusText();
    live.statusByteText = m_statusByte.statusText();

    QString events = m_capture.eventLines();
    if (events.endsWith(CrLf))
        events.chop(CrLf.size());
    store(QString(), events);
    store(QString(), m_capture.firstScanNote());
    QString rawHeader = m_header.headerText;
    if (rawHeader.endsWith(CrLf))
        rawHeader.chop(CrLf.size());
    store(rawHeader, QString());
    storeLines(DownloadSections::rawLiveBlock(m_capture.values(), live), false);
    store(m_capture.firstScanNote(), QString());
    storeLines(DownloadSections::rawDataHeading(m_header, origin), false);

    run.rows.slopeRow = m_files.csvLines() + 1 + m_block.slopeLine;
    storeLines(m_block.lines, true);
    storeLines(DownloadSections::csvDataHeading(m_header, run.rows.columns, origin), true);
}

void DataDownload::boundToMemory(Run &run)
{
    const quint32 installed = installedMemory();
    run.endAddress = run.pointer;
    if (installed < run.pointer) {
        const int answer = m_dialogs.Message_Box(
            QStringLiteral("A Top of Memory pointer error has been detected.") + Cr
                + QString::number(run.pointer) + QStringLiteral(" vs ") + QString::number(installed) + Cr
                + QStringLiteral("Press YES to continue downloading data to the end of memory.") + Cr
                + QStringLiteral("Press NO to cancel downloading."),
            int(Dialogs::YesNo) | Dialogs::Critical, QStringLiteral("subReadData memory error warning"));
        if (answer == Dialogs::No)
            m_state.cancelDownload = true;
        run.endAddress = installed;
    }
    Q_EMIT endAddressShown(QString::number(run.endAddress), fnHex6(qint32(run.endAddress)));
}

// Zeros the first whole line after the data (a line holding the last words
// keeps them). Never at or past the top of memory, where no line exists to
// take it; and a line that does not take the zeros does not cost the
// operator the data below it.
void DataDownload::markEndOfData(const Run &run)
{
    const qint64 line = (run.endAddress + LineBytes - 1) / LineBytes * LineBytes;
    if (line + LineBytes > qint64(installedMemory()))
        return;
    // A length asks the transport for the checksum the logger expects.
    m_transport.sendCommand(QStringLiteral("f"), fnHex6(qint32(line)), QStringLiteral("#"),
                            QString(2 * LineBytes, u'0'), 1);
    if (!m_state.abandoned)
        m_state.commAbort = false;
}

// Reads every line holding data below the end address; words at or past it
// are left out, so neither the zeros above nor what an earlier test left in
// memory can make a row.
void DataDownload::readMemory(Run &run)
{
    ScanRows rows(run.rows, rowSink());
    for (run.address = 0; run.address < run.endAddress; run.address += LineBytes) {
        Q_EMIT progressChanged(run.address, run.endAddress - run.address);
        // Lets the windows (the cancel button) in without waiting for anything.
        m_loop.yieldUntil(m_loop.elapsedNs());
        QString line;
        if (m_state.commAbort || !readLine(run, run.address, &line)) {
            run.aborted = !m_files.failed();
            if (m_files.failed())
                m_ending = Ending::WriteFailed;
            break;
        }
        const std::optional<std::array<DataWord, DataWords::PerLine>> words =
            DataWords::fromReplyLine(line);
        for (int i = 0; words && i < DataWords::PerLine; ++i) {
            if (run.address + 2 * i >= run.endAddress)
                break;
            const ScanRows::Outcome outcome = rows.addWord((*words)[i], run.address, run.endAddress);
            if (outcome == ScanRows::Outcome::SyncCancel) {
                rows.flush();
                m_ending = m_files.failed() ? Ending::WriteFailed : Ending::SyncCancelled;
                return;
            }
            if (outcome == ScanRows::Outcome::WriteFailed) {
                m_ending = Ending::WriteFailed;
                return;
            }
        }
        if (m_state.cancelDownload && confirmCancel()) {
            run.address += LineBytes;
            run.cancelled = true;
            break;
        }
    }
    Q_EMIT progressChanged(run.address, std::max<qint64>(0, run.endAddress - run.address));
    if (m_ending == Ending::WriteFailed || rows.flush() == ScanRows::Outcome::WriteFailed) {
        m_ending = Ending::WriteFailed;
        return;
    }
    run.lowBattery = rows.lowBatterySeen();
    run.firstEventReached = rows.firstEventReached();
    run.firstEventIndex = rows.firstEventIndex();
}

// The line goes into the RAW file as read, before any row is made from it.
bool DataDownload::readLine(const Run &run, qint64 address, QString *line)
{
    if (run.resume && address < run.resume->address())
        *line = run.resume->raw.dataLines[address / LineBytes].text;
    else
        *line = m_transport.lineReader().fnReadHexDatae(fnHex6(qint32(address)));
    if (line->isEmpty() || m_state.commAbort)
        return false;
    return store(*line, QString());
}

bool DataDownload::confirmCancel()
{
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("Do you really want to cancel the download?") + Cr + Cr
            + QStringLiteral("Press Yes to cancel downloading.") + Cr
            + QStringLiteral("Press No to continue downloading data."),
        int(Dialogs::YesNo) | int(Dialogs::Critical) | Dialogs::DefaultButton2,
        QStringLiteral("Cancel Download Alert"));
    if (answer == Dialogs::Yes)
        return true;
    m_state.cancelDownload = false;
    return false;
}

ScanRows::Sink DataDownload::rowSink()
{
    ScanRows::Sink sink;
    sink.write = [this](const QString &text) { return store(QString(), text); };
    sink.linesWritten = [this] { return m_files.csvLines(); };
    sink.statusLine = [this] { return hook(m_hooks.statusLine); };
    sink.lowBattery = [this](qint64 scanIndex) {
        m_dialogs.Message_Box(QStringLiteral("Low battery condition detected -- Check Data at Scan #")
                                  + QString::number(scanIndex),
                              int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Low Battery Detected"));
    };
    sink.syncError = [this](qint64 address, qint64 endAddress, const QString &row) {
        return m_dialogs.Message_Box(
                   QStringLiteral("Channel Sync, memory read/write error") + CrLf
                       + QStringLiteral("in scan %1 of %2 Scans.").arg(address).arg(endAddress) + CrLf
                       + QStringLiteral("Memory image line: ") + row
                       + QStringLiteral(" CANCEL stops Download or ...  RETRY resumes execution with next statement."),
                   int(Dialogs::RetryCancel) | Dialogs::DefaultButton2, QStringLiteral("SubReadData Channel Sync Error"))
            == Dialogs::Retry;
    };
    m_tidy.follow(sink);
    return sink;
}

void DataDownload::complete(Run &run)
{
    const bool premature = run.address < run.endAddress;
    DownloadNotes::Facts facts;
    facts.premature = premature;
    facts.addressReached = run.address;
    facts.endAddress = run.endAddress;
    facts.lowBattery = run.lowBattery;
    facts.firstEventReached = run.firstEventReached;
    facts.firstEventScan = run.firstEventIndex;
    facts.status = m_statusByte.statusValue();
    facts.alerts = hook(m_hooks.alertText);
    facts.cancelled = run.cancelled;
    facts.periodSeconds = m_header.scanPeriod;
    facts.periodText = CsvHeaderBlock::durationText(m_header.scanPeriod);
    facts.operatorNotes = hook(m_hooks.downloadNotes);

    QStringList closing = DownloadSections::notesOpening(m_loop.now());
    closing += DownloadNotes::lines(facts);
    if (run.resume)
        closing += DownloadResume::note(*run.resume);
    closing += DownloadSections::notesClosing();
    bool written = storeLines(closing, true) && storeLines(closing, false);
    if (written && !premature && !run.cancelled)
        written = store(QString(), QStringLiteral("Saved complete as file: ") + m_files.baseName()
                                       + QStringLiteral(".CSV"));
    if (premature)
        m_dialogs.Message_Box(DownloadNotes::prematureNotice(run.address, run.endAddress).join(CrLf),
                              Dialogs::OkOnly, QStringLiteral("Premature download Termination"));
    m_files.subCloseFiles();
    if (!written) {
        m_ending = Ending::WriteFailed;
        return;
    }
    if (run.cancelled) {
        m_ending = Ending::Cancelled;
        return;
    }
    if (run.aborted || premature) {
        m_ending = Ending::Aborted;
        return;
    }
    if (!m_files.renameToFinal()) {
        m_ending = Ending::WriteFailed;
        return;
    }
    m_tidy.renameToFinal();
    m_ending = Ending::Complete;
    recordDownload(run);
}

void DataDownload::closeFiles()
{
    m_files.subCloseFiles();
    m_tidy.close();
}

// Last, at every ending that made files: the metadata names and hashes them
// as they stand.
void DataDownload::writeMetadata(const Run &run)
{
    if (!m_tidy.isActive())
        return;
    DownloadMetadata::Capture capture;
    const DownloadSections::LiveSection live{m_statusByte.downloadStatusText(), m_statusByte.statusText()};
    capture.eventLines = DownloadSections::rawLiveBlock(m_capture.values(), live);
    capture.statusByte = live.statusByteText;
    capture.statusText = live.statusText;
    capture.firstScanNote = m_capture.firstScanNote();
    capture.channelConfig = m_capture.values().channelConfig;
    capture.csvEventLines = m_capture.eventLines().split(CrLf);
    if (capture.csvEventLines.last().isEmpty())
        capture.csvEventLines.removeLast();
    capture.statusLine = hook(m_hooks.statusLine);
    DownloadMetadata::Download download;
    if (run.resume) {
        download.resumedFrom = run.resume->rawPath;
        download.resumedAddress = run.resume->address();
    }
    download.started = run.started;
    download.ended = m_loop.now();
    download.outcome = outcomeName(m_ending);
    download.addressReached = run.address;
    download.endAddress = run.endAddress;
    m_tidy.writeMetadata(m_header, capture, download, m_ending == Ending::Complete);
}

// 0540 takes the download time, 0550 and 0560 the file name without its
// folder, 16 characters each.
void DataDownload::recordDownload(const Run &run)
{
    const QString time = run.started.toString(QStringLiteral("yyyy/MM/dd hh:mm")).leftJustified(16);
    const QString name =
        (QFileInfo(m_files.baseName()).fileName() + QStringLiteral(".CSV")).leftJustified(32).left(32);
    HeaderLineWriter writer(m_transport, m_state);
    writer.begin();
    const bool written = writer.writeText(0x0540, time) && writer.writeText(0x0550, name.left(16))
        && writer.writeText(0x0560, name.mid(16));
    if (!written) {
        m_dialogs.Message_Box(QStringLiteral("The data was saved in ") + m_files.baseName()
                                  + QStringLiteral(".CSV, but the logger could not record the download ")
                                  + QStringLiteral("(header line ") + writer.failedAt()
                                  + QStringLiteral(")."),
                              int(Dialogs::OkOnly) | Dialogs::Exclamation,
                              QStringLiteral("Download Not Recorded"));
        return;
    }
    m_header.lastDownloadTime = time;
    m_header.lastDownloadFile = name;
    Q_EMIT downloadRecorded();
}

bool DataDownload::store(const QString &raw, const QString &csv)
{
    return m_files.subStoreLine(raw, csv);
}

bool DataDownload::storeLines(const QStringList &lines, bool csv)
{
    return m_files.storeLines(csv ? DownloadFiles::Target::Csv : DownloadFiles::Target::Raw, lines);
}
