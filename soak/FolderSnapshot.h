#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The files of a folder and a hash of each, to show afterwards that none
// was changed or removed (new files may appear).
class FolderSnapshot
{
public:
    static FolderSnapshot take(const QString &folder);

    // What became of the files that were there: one text per file changed
    // or gone, empty when every one is as it was.
    QStringList changesIn(const FolderSnapshot &later) const;

    const QMap<QString, QByteArray> &files() const { return m_files; }

private:
    QMap<QString, QByteArray> m_files;
};
