#include "logger/download/DownloadRebuild.h"

#include "logger/EventLines.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderDecoder.h"
#include "logger/HeaderMap.h"
#include "logger/LoggerHeader.h"
#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/DataWords.h"
#include "logger/download/DownloadFiles.h"
#include "logger/download/DownloadSections.h"
#include "logger/download/ScanRows.h"
#include "logger/download/TidyExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

namespace {
constexpr quint32 LongWaitSeconds = 255;
const QString CrLf = QStringLiteral("\r\n");
constexpr int ChannelPages = 0x0600;
constexpr int ChannelsEnd = 0x0E00;
// The status byte's scan of the first event when none was worked out.
constexpr qint64 NoStatusScan = -3;

// A line of text: no line breaks and no other control characters.
bool isTextLine(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

} // namespace

DownloadRebuild::DownloadRebuild(const RawDownloadFile &raw, Dialogs &dialogs)
    : m_raw(raw)
    , m_dialogs(dialogs)
{
}

LoggerHeader DownloadRebuild::header(const RawDownloadFile &raw)
{
    LoggerHeader h;
    for (const auto &[address, data] : raw.headerLines) {
        if (address >= ChannelPages && address < ChannelsEnd)
            HeaderDecoder::applyChannelLine(h.channel[(address - ChannelPages) >> 8], address & 0xF0, data);
        else
            HeaderDecoder::applyLine(h, address, data);
    }
    h.headerText = raw.headerText;
    h.headerValid = true;
    DownloadSections::replaceZeroSlopes(h);
    h.channelInLogger = h.channel;
    return h;
}

DownloadRebuild::Extras DownloadRebuild::extrasBeside(const QString &rawPath)
{
    Extras extras;
    const QFileInfo info(rawPath);
    QFile file(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly))
        return extras;
    const QJsonObject root = QJsonDocument::fromJson(file.read(4 * 1024 * 1024)).object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String("datalogger-download"))
        return extras;
    const QJsonObject test = root.value(QStringLiteral("test")).toObject();
    if (test.value(QStringLiteral("columns")).isArray()) {
        DownloadColumns columns;
        for (const QJsonValue &c : test.value(QStringLiteral("columns")).toArray()) {
            if (c.toInt(-1) >= 0 && c.toInt() < DownloadColumns::Count)
                columns.active[c.toInt()] = true;
        }
        columns.monitorChannel = test.value(QStringLiteral("monitorChannel")).toInt();
        extras.columns = columns;
    }
    // Texts that go into the CSV as lines are taken only when they are
    // single lines of text; an edited or damaged file gives the RAW's own.
    const QJsonObject capture = root.value(QStringLiteral("capture")).toObject();
    const QString statusLine = capture.value(QStringLiteral("statusLine")).toString();
    if (capture.value(QStringLiteral("statusLine")).isString() && isTextLine(statusLine))
        extras.statusLine = statusLine;
    if (capture.value(QStringLiteral("csvEventLines")).isArray()) {
        QString lines;
        bool plain = true;
        for (const QJsonValue &line : capture.value(QStringLiteral("csvEventLines")).toArray()) {
            plain = plain && line.isString() && isTextLine(line.toString());
            lines += line.toString() + CrLf;
        }
        if (plain)
            extras.eventLines = lines;
    }
    const QJsonValue zone = root.value(QStringLiteral("timeZones")).toObject().value(QStringLiteral("download"));
    if (zone.isDouble() && std::abs(zone.toDouble()) <= 24)
        extras.downloadZoneHours = zone.toInt();
    return extras;
}

DownloadColumns DownloadRebuild::columns() const
{
    if (m_extras.columns)
        return *m_extras.columns;
    const int active = std::clamp<int>(header(m_raw).activeChannelCount, 0, LoggerHeader::ChannelBlocks);
    return DownloadColumns::firstChannels(active, monitorInData(active));
}

// A monitor channel's maximum and minimum follow the channels as tags N and
// N + 1. Its number is not in the RAW file: it is the channel whose readings
// lie between them most often.
int DownloadRebuild::monitorInData(int activeChannels) const
{
    QList<int> words;
    bool monitorTags = false;
    for (const RawDownloadFile::DataLine &line : m_raw.dataLines) {
        const auto parsed = DataWords::fromReplyLine(line.text);
        for (int i = 0; parsed && i < DataWords::PerLine; ++i) {
            words << (*parsed)[i].tag << (*parsed)[i].count;
            monitorTags = monitorTags || (*parsed)[i].tag == activeChannels + 1;
        }
    }
    if (!monitorTags || activeChannels <= 0)
        return 0;
    std::array<int, LoggerHeader::ChannelBlocks> inside{};
    std::array<int, LoggerHeader::ChannelBlocks> counts{};
    const int scanWords = activeChannels + 2;
    for (qsizetype w = 0; w + 2 * scanWords <= words.size(); w += 2) {
        if (words[w] != 0)
            continue;
        bool whole = true;
        for (int k = 0; k < scanWords; ++k)
            whole = whole && words[w + 2 * k] == k;
        if (!whole)
            continue;
        const int max = words[w + 2 * activeChannels + 1];
        const int min = words[w + 2 * activeChannels + 3];
        for (int c = 0; c < activeChannels; ++c) {
            counts[c] = words[w + 2 * c + 1];
            inside[c] += counts[c] >= min && counts[c] <= max;
        }
        w += 2 * (scanWords - 1);
    }
    return int(std::max_element(inside.begin(), inside.begin() + activeChannels) - inside.begin()) + 1;
}

void DownloadRebuild::writeMetadata(TidyExport &tidy, const LoggerHeader &h, const QString &eventText,
                                    const QString &statusLine) const
{
    DownloadMetadata::Capture capture;
    capture.eventLines = m_raw.liveLines;
    capture.statusByte = m_raw.statusByteText;
    capture.statusText = m_raw.statusText;
    capture.firstScanNote = m_raw.firstScanNote;
    capture.csvEventLines = eventText.split(CrLf);
    capture.statusLine = statusLine;
    DownloadMetadata::Download download;
    download.started = m_raw.downloadTime;
    download.ended = QDateTime::currentDateTime();
    download.outcome = complete() ? QStringLiteral("complete") : QStringLiteral("aborted");
    download.addressReached = m_raw.nextAddress();
    download.endAddress = m_raw.live.active.pointer.value;
    tidy.writeMetadata(h, capture, download, true);
}

// The RAW file's closing notes; a RAW file cut before them (a crash, a full
// disk, a copy taken while it was written) gets notes that say so, so the
// CSV ends as every download's does and its last row is read as written.
QStringList DownloadRebuild::notes() const
{
    if (m_raw.closed)
        return m_raw.notes;
    QStringList lines = DownloadSections::notesOpening(m_raw.downloadTime);
    lines << QStringLiteral("The RAW file ends before its closing notes; its data was read to address %1.")
                 .arg(fnHex6(qint32(m_raw.nextAddress())));
    return lines + DownloadSections::notesClosing();
}

bool DownloadRebuild::complete() const
{
    const qint64 pointer = m_raw.live.active.pointer.value;
    return m_raw.closed && m_raw.dataProblem.isEmpty() && m_raw.nextAddress() >= pointer;
}

QString DownloadRebuild::freeBase(const QString &rawPath, const QString &folder)
{
    const QString name = QFileInfo(rawPath).completeBaseName().remove(DownloadFiles::AbortedSuffix);
    const QString dir = QDir(folder.isEmpty() ? QFileInfo(rawPath).path() : folder).absolutePath();
    QString base = dir + u'/' + name;
    for (int n = 1; DownloadFiles::baseInUse(base); ++n)
        base = dir + u'/' + name + QStringLiteral("-rebuilt") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
    return base;
}

DownloadRebuild::Outcome DownloadRebuild::write(const QString &base)
{
    Outcome outcome;
    if (!m_raw.refusal.isEmpty()) {
        outcome.message = m_raw.refusal;
        return outcome;
    }
    LoggerHeader h = header(m_raw);
    const DownloadColumns cols = columns();
    const LiveBlockValues &live = m_raw.live;

    DownloadFiles files(m_dialogs);
    DownloadFiles::Options options;
    options.raw = false;
    if (!files.openAt(base, options)) {
        outcome.message = QStringLiteral("The files could not be created at ") + base;
        return outcome;
    }
    const int words = std::clamp<int>(h.activeChannelCount, 0, 8) + (cols.hasMonitor() ? 2 : 0);
    LiveBlockValues capture = live;
    capture.eventChannels = live.active.channels;
    const EventCapture::StatusInputs status{quint8(fnHexToLong(m_raw.statusByteText)), m_raw.statusByteText};
    const EventLines events = EventLines::build(capture, status, m_raw.downloadTime, words);
    QString eventText = m_extras.eventLines.value_or(events.lines);
    if (eventText.endsWith(CrLf))
        eventText.chop(CrLf.size());

    CsvHeaderBlock::Inputs inputs;
    inputs.columns = cols;
    inputs.calInterval = live.preset.calInterval.value;
    inputs.presentOffsetHours =
        m_extras.downloadZoneHours.value_or(-QDateTime::currentDateTime().offsetFromUtc() / 3600);
    const CsvHeaderBlock block = CsvHeaderBlock::build(h, inputs);
    TidyExport tidy(m_dialogs);
    tidy.describe(h, inputs);
    tidy.open(base, h, true);
    const DownloadSections::Origin origin{m_raw.downloadTime, m_raw.locationCode, m_raw.baseName};

    files.subStoreLine(QString(), eventText);
    files.subStoreLine(QString(), m_raw.firstScanNote);
    ScanRows::Setup setup;
    setup.slopeRow = files.csvLines() + 1 + block.slopeLine;
    files.storeLines(DownloadFiles::Target::Csv, block.lines);
    files.storeLines(DownloadFiles::Target::Csv, DownloadSections::csvDataHeading(h, cols, origin));

    setup.columns = cols;
    setup.activeChannels = std::clamp<int>(h.activeChannelCount, 0, LoggerHeader::ChannelBlocks);
    setup.firstIndex = live.preset.waits.value > LongWaitSeconds ? -2 : -1;
    setup.startDate = h.startDate;
    setup.waitSeconds = live.preset.waits.value;
    setup.periodSeconds = h.scanPeriod;
    setup.eventScanNumber = events.eventScanNumber;
    static const QRegularExpression statusScan(QStringLiteral("StatusByte@Scan: (-?\\d+)"));
    const QRegularExpressionMatch scan = statusScan.match(m_raw.notes.join(u'\n'));
    setup.firstEventScan = scan.hasMatch() ? scan.captured(1).toLongLong() : NoStatusScan;

    ScanRows::Sink sink;
    sink.write = [&files](const QString &text) { return files.subStoreLine(QString(), text); };
    sink.linesWritten = [&files] { return files.csvLines(); };
    const QString statusLine = m_extras.statusLine.value_or(m_raw.statusText);
    sink.statusLine = [statusLine] { return statusLine; };
    sink.lowBattery = [](qint64) {};
    sink.syncError = [](qint64, qint64, const QString &) { return true; };
    tidy.follow(sink);
    ScanRows rows(setup, sink);
    const qint64 end = complete() ? live.active.pointer.value : m_raw.nextAddress();
    for (const RawDownloadFile::DataLine &line : m_raw.dataLines) {
        const auto parsed = DataWords::fromReplyLine(line.text);
        for (int i = 0; parsed && i < DataWords::PerLine && line.address + 2 * i < end; ++i)
            rows.addWord((*parsed)[i], line.address, end);
    }
    rows.flush();
    files.storeLines(DownloadFiles::Target::Csv, notes());
    if (complete())
        files.subStoreLine(QString(), QStringLiteral("Saved complete as file: ") + base + QStringLiteral(".CSV"));
    files.subCloseFiles();
    tidy.close();
    outcome.written = !files.failed() && files.renameToFinal();
    if (outcome.written) {
        tidy.renameToFinal();
        writeMetadata(tidy, h, eventText, statusLine);
    }
    outcome.baseName = base;
    outcome.message = outcome.written ? QStringLiteral("rebuilt: ") + base + QStringLiteral(".CSV")
                                      : QStringLiteral("The files could not be written at ") + base;
    return outcome;
}

bool DownloadRebuild::tidyTexts(const QString &rawPath, Dialogs &dialogs, QByteArray *rows, QByteArray *events,
                                QByteArray *metadata, QString *error)
{
    const RawDownloadFile raw = RawDownloadFile::read(rawPath);
    const QTemporaryDir scratch;
    if (!raw.refusal.isEmpty() || !scratch.isValid()) {
        *error = raw.refusal.isEmpty() ? QStringLiteral("No scratch folder for the rebuild.") : raw.refusal;
        return false;
    }
    DownloadRebuild rebuild(raw, dialogs);
    rebuild.setExtras(extrasBeside(rawPath));
    const QString base = scratch.filePath(QStringLiteral("rebuilt"));
    const Outcome outcome = rebuild.write(base);
    if (!outcome.written) {
        *error = outcome.message;
        return false;
    }
    const auto contents = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    *rows = contents(base + QStringLiteral(".tidy.csv"));
    *events = contents(base + QStringLiteral(".events.csv"));
    *metadata = contents(base + QStringLiteral(".json"));
    return true;
}
