#include "logger/download/DownloadResume.h"

#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"
#include "logger/download/DownloadFiles.h"
#include "logger/download/DownloadRebuild.h"

#include <QDir>
#include <QFileInfo>

namespace {
// Enough for every download of a day's work; older files are not opened.
constexpr int MostFilesLookedAt = 20;

QString dateText(const QDateTime &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QStringLiteral("none");
}
} // namespace

// The newest download of this logger that ended early and kept its RAW
// file, unless the logger recorded a complete download after it (a download
// afresh then took its place).
std::optional<DownloadResume::Candidate> DownloadResume::find(const QString &folder, const LoggerHeader &header,
                                                              quint32 pointer)
{
    const QDir dir(folder);
    const QDateTime lastDownload =
        QDateTime::fromString(header.lastDownloadTime.trimmed(), QStringLiteral("yyyy/MM/dd hh:mm"));
    const QFileInfoList files =
        dir.entryInfoList({u'*' + DownloadFiles::AbortedSuffix + QStringLiteral(".RAW")}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : files.mid(0, MostFilesLookedAt)) {
        Candidate candidate{file.absoluteFilePath(), RawDownloadFile::read(file.absoluteFilePath()), QString()};
        if (!candidate.raw.refusal.isEmpty()
            || DownloadRebuild::header(candidate.raw).serialNumber != header.serialNumber)
            continue;
        if (lastDownload.isValid() && candidate.raw.downloadTime < lastDownload)
            return std::nullopt;
        candidate.refusal = mismatch(candidate.raw, header, pointer);
        if (candidate.refusal.isEmpty() && candidate.raw.dataLines.isEmpty())
            candidate.refusal = QStringLiteral("its RAW file holds no data line.");
        return candidate;
    }
    return std::nullopt;
}

QString DownloadResume::mismatch(const RawDownloadFile &raw, const LoggerHeader &header, quint32 pointer)
{
    const LoggerHeader saved = DownloadRebuild::header(raw);
    if (saved.serialNumber != header.serialNumber)
        return QStringLiteral("it is of logger %1, not of logger %2.").arg(saved.serialNumber, header.serialNumber);
    if (saved.initDate != header.initDate || saved.totalInits != header.totalInits)
        return QStringLiteral("the logger was initialized again since (that test: %1, this test: %2).")
            .arg(dateText(saved.initDate), dateText(header.initDate));
    if (raw.live.active.pointer.value != pointer)
        return QStringLiteral("the logger's memory pointer moved since (then %1, now %2).")
            .arg(raw.live.active.pointer.value)
            .arg(pointer);
    return QString();
}

QString DownloadResume::note(const Candidate &candidate)
{
    return QStringLiteral("Resumed from file: %1 at address %2 (%3 lines taken from it).")
        .arg(QDir::toNativeSeparators(candidate.rawPath), fnHex6(qint32(candidate.address())))
        .arg(candidate.raw.dataLines.size());
}
