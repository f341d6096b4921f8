#include "logger/WholeFile.h"

#include <QFile>
#include <QSaveFile>

std::optional<QByteArray> WholeFile::read(const QString &path, qint64 maxBytes, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        *error = QStringLiteral("File not found.");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return file.read(maxBytes);
}

bool WholeFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}
