#include "soak/FolderSnapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

FolderSnapshot FolderSnapshot::take(const QString &folder)
{
    FolderSnapshot snapshot;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        QCryptographicHash hash(QCryptographicHash::Sha1);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        snapshot.m_files.insert(name, QByteArray::number(file.size()) + ':' + hash.result().toHex());
    }
    return snapshot;
}

QStringList FolderSnapshot::changesIn(const FolderSnapshot &later) const
{
    QStringList changes;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        if (!later.m_files.contains(it.key()))
            changes << QStringLiteral("%1 was removed").arg(it.key());
        else if (later.m_files.value(it.key()) != it.value())
            changes << QStringLiteral("%1 was overwritten").arg(it.key());
    }
    return changes;
}
