#include "reports/ReportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString errorText(const QSaveFile &file)
{
    return QStringLiteral("Error ") + QString::number(int(file.error())) + QStringLiteral(": ") + file.errorString();
}

// The file could not be opened or replaced although it may be written: on
// some systems that is another program holding it open.
QString replaceFailure(const QFileInfo &info, const QSaveFile &file)
{
    return info.isFile() && info.isWritable() ? QStringLiteral("File is open.") : errorText(file);
}

} // namespace

std::optional<QString> ReportFile::write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("File not found.");
    // Closed (and the half-written copy removed) when it goes, whatever happened.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return replaceFailure(info, file);
    if (file.write(bytes) != bytes.size())
        return errorText(file);
    if (!file.commit())
        return replaceFailure(info, file);
    return std::nullopt;
}
