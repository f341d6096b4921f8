#include "soak/DownloadCheck.h"

#include "logger/download/DataWords.h"
#include "logger/download/DownloadFiles.h"
#include "soak/WireRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString CrLf = QStringLiteral("\r\n");
constexpr int LineBytes = 16;
} // namespace

QStringList DownloadCheck::problems(const Facts &facts)
{
    QStringList found = names(facts);
    if (facts.folderRemoved || facts.ending == DataDownload::Ending::NotStarted || !found.isEmpty())
        return found;
    QStringList data;
    found += rawLines(facts, lines(filePath(facts, QStringLiteral(".RAW"))), &data);
    found += csvRows(facts, lines(filePath(facts, QStringLiteral(".CSV"))), data);
    return found;
}

QString DownloadCheck::filePath(const Facts &facts, const QString &extension)
{
    const bool complete = facts.ending == DataDownload::Ending::Complete;
    return facts.base + (complete ? QString() : DownloadFiles::AbortedSuffix) + extension;
}

QStringList DownloadCheck::lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(CrLf);
}

// A complete download has its final names only; any other keeps the
// working names of the files it made, and no file takes a final name.
QStringList DownloadCheck::names(const Facts &facts)
{
    if (facts.ending == DataDownload::Ending::NotStarted || facts.base.isEmpty())
        return {};
    QStringList found;
    const bool complete = facts.ending == DataDownload::Ending::Complete;
    for (const QString extension : {QStringLiteral(".CSV"), QStringLiteral(".RAW")}) {
        const bool final = QFileInfo::exists(facts.base + extension);
        const bool working = QFileInfo::exists(facts.base + DownloadFiles::AbortedSuffix + extension);
        if (complete && (!final || working))
            found << QStringLiteral("a complete download left %1 %2").arg(final ? "a working" : "no final", extension);
        if (!complete && final)
            found << QStringLiteral("an unfinished download gave %1 its final name").arg(extension);
        if (!complete && !working && !facts.folderRemoved)
            found << QStringLiteral("an unfinished download left no %1%2").arg(DownloadFiles::AbortedSuffix, extension);
    }
    return found;
}

qint64 DownloadCheck::resumedLines(const QStringList &raw)
{
    static const QRegularExpression note(QStringLiteral("^Resumed from file: .* \\((\\d+) lines taken from it\\)\\.$"));
    for (const QString &line : raw) {
        const QRegularExpressionMatch match = note.match(line);
        if (match.hasMatch())
            return match.captured(1).toLongLong();
    }
    return 0;
}

QStringList DownloadCheck::section(const QStringList &lines, const QString &start, const QString &end, int *first)
{
    qsizetype from = 0;
    while (from < lines.size() && !lines[from].startsWith(start))
        ++from;
    if (from == lines.size())
        return {};
    qsizetype to = from + 1;
    while (to < lines.size() && !lines[to].startsWith(end))
        ++to;
    if (first)
        *first = int(from + 1);
    QStringList held = lines.mid(from + 1, to - from - 1);
    if (to == lines.size() && !held.isEmpty() && held.last().isEmpty())
        held.removeLast();
    return held;
}

// The RAW's data lines: line i at address 16 i, as the memory holds it,
// sent sound over the cable; all of them when complete; none missing that
// the logger sent. A write that failed may have cut the last one short.
QStringList DownloadCheck::rawLines(const Facts &facts, const QStringList &raw, QStringList *data)
{
    const bool writeFailed = facts.ending == DataDownload::Ending::WriteFailed;
    QStringList found;
    const QStringList held = section(raw, QStringLiteral("Start of Downloaded Data"), QStringLiteral("End of Downloaded Data"), nullptr);
    const qint64 resumed = resumedLines(raw);
    for (qsizetype i = 0; i < held.size(); ++i) {
        const qint64 address = LineBytes * qint64(i);
        const QString inMemory = WireRecord::dataLine(address, facts.data.mid(address, LineBytes));
        // What the logger sent is what it holds, unless a test it was told
        // to stop kept logging; a line taken from an earlier download's file
        // must be what the memory holds.
        const QString expected = i < resumed ? inMemory : facts.sent.value(address, inMemory);
        const bool last = i + 1 == held.size();
        if (held[i] == expected && (i < resumed || facts.sent.contains(address))) {
            data->append(held[i]);
            continue;
        }
        // The full disk may have cut the last line anywhere, even between
        // its carriage return and its line feed.
        QString cut = held[i];
        if (cut.endsWith(u'\r'))
            cut.chop(1);
        if (writeFailed && last && expected.startsWith(cut))
            break;
        found << (i < resumed ? QStringLiteral("RAW data line %1 is \"%2\", taken from a file where the memory holds \"%3\"")
                                    .arg(i)
                                    .arg(held[i], inMemory)
                              : QStringLiteral("RAW data line %1 is \"%2\", the logger sent \"%3\"")
                                    .arg(i)
                                    .arg(held[i], facts.sent.value(address, QStringLiteral("nothing sound"))));
        return found;
    }
    const qint64 lines = (facts.endAddress + LineBytes - 1) / LineBytes;
    const qint64 stored = data->size();
    if (facts.ending == DataDownload::Ending::Complete && stored != lines)
        found << QStringLiteral("a complete download holds %1 of %2 data lines").arg(stored).arg(lines);
    for (auto it = facts.sent.cbegin(); it != facts.sent.cend(); ++it) {
        if (it.key() > LineBytes * stored && it.key() < facts.endAddress)
            found << QStringLiteral("data line %1 was sent but is not in the RAW file (it holds %2)")
                         .arg(it.key() / LineBytes)
                         .arg(stored);
    }
    return found;
}

// The rows between the data heading and the notes are those the program's
// decoding makes of the RAW's data lines; after a failed write, a prefix.
QStringList DownloadCheck::csvRows(const Facts &facts, const QStringList &csv, const QStringList &data)
{
    int first = 0;
    const QStringList rows = section(csv, QStringLiteral("Start of Downloaded Data,,"), QStringLiteral("End of Downloaded Data,"), &first);
    int slopeRow = 0;
    for (qsizetype i = 0; i < csv.size() && slopeRow == 0; ++i) {
        if (csv[i].split(u',').contains(QStringLiteral("Slope:")))
            slopeRow = int(i) + 1;
    }
    if (first == 0)
        return {QStringLiteral("the CSV file has no data heading")};
    const QStringList expected = decoded(facts, data, first, slopeRow);
    const bool writeFailed = facts.ending == DataDownload::Ending::WriteFailed;
    const QStringList &held = rows;
    for (qsizetype i = 0; i < qMax(held.size(), expected.size()); ++i) {
        const QString have = held.value(i, QStringLiteral("<none>"));
        const QString want = expected.value(i, QStringLiteral("<none>"));
        if (have == want)
            continue;
        QString cut = held.value(i);
        if (cut.endsWith(u'\r'))
            cut.chop(1);
        if (writeFailed && i >= held.size() - 1 && want.startsWith(cut))
            return {};
        return {QStringLiteral("CSV row %1 is \"%2\", decoding the RAW gives \"%3\"").arg(i).arg(have, want)};
    }
    return {};
}

QStringList DownloadCheck::decoded(const Facts &facts, const QStringList &data, int firstRow, int slopeRow)
{
    QString text;
    int written = firstRow;
    ScanRows::Setup setup = facts.rows;
    setup.slopeRow = slopeRow;
    std::size_t answer = 0;
    ScanRows::Sink sink;
    sink.write = [&](const QString &row) {
        text += row + CrLf;
        written += int(row.count(u'\n')) + 1;
        return true;
    };
    sink.linesWritten = [&] { return written; };
    sink.statusLine = [&facts] { return facts.statusLine; };
    sink.lowBattery = [](qint64) {};
    sink.syncError = [&](qint64, qint64, const QString &) {
        return answer < facts.syncRetries.size() && facts.syncRetries[answer++];
    };
    ScanRows rows(setup, sink);
    bool stopped = false;
    for (qsizetype i = 0; i < data.size() && !stopped; ++i) {
        const qint64 address = LineBytes * qint64(i);
        const auto words = DataWords::fromReplyLine(data[i]);
        for (int w = 0; words && w < DataWords::PerLine && address + 2 * w < facts.endAddress; ++w) {
            if (rows.addWord((*words)[w], address, facts.endAddress) == ScanRows::Outcome::SyncCancel) {
                stopped = true;
                break;
            }
        }
    }
    rows.flush();
    QStringList result = text.split(CrLf);
    result.removeLast();
    return result;
}
