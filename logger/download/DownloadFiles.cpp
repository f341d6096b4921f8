#include "logger/download/DownloadFiles.h"

#include "logger/download/SafeFileName.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileInfo>

const QString DownloadFiles::DialogTitle = QStringLiteral("Save Download File As");
const QString DownloadFiles::DialogFilter = QStringLiteral("All Files (*.*)");
const QString DownloadFiles::ExistsMessage = QStringLiteral("File already exists--Overwrite not allowed.");
const QString DownloadFiles::AbortedSuffix = QStringLiteral("_Aborted");

namespace {
const QString LineEnd = QStringLiteral("\r\n");
}

DownloadFiles::DownloadFiles(Dialogs &dialogs)
    : m_dialogs(dialogs)
{
}

DownloadFiles::~DownloadFiles()
{
    subCloseFiles();
}

QString DownloadFiles::proposedBase(const QString &serialNumber, const QDateTime &now)
{
    return SafeFileName::part(serialNumber) + u'-' + now.toString(QStringLiteral("yyyyMMdd-hhmmss"))
        + u' ';
}

bool DownloadFiles::baseInUse(const QString &base)
{
    const QFileInfo info(base);
    const QString name = info.fileName();
    const QStringList used = info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &file : used) {
        if (file.startsWith(name + u'.', Qt::CaseInsensitive)
            || file.startsWith(name + AbortedSuffix + u'.', Qt::CaseInsensitive)
            || file.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool DownloadFiles::subOpenFile(const QString &serialNumber, const QDateTime &now,
                                const Options &options)
{
    subCloseFiles();
    m_csvLines = 0;
    m_failed = false;
    m_created.clear();
    const QString folder = QDir(options.folder).absolutePath();
    QString proposed = folder + u'/' + proposedBase(serialNumber, now);
    for (int counter = 2; baseInUse(proposed); ++counter)
        proposed = folder + u'/' + proposedBase(serialNumber, now)
            + QStringLiteral("%1").arg(counter, 3, 10, QChar(u'0'));
    m_base = chooseBase(proposed, folder);
    if (m_base.isEmpty())
        return false;
    return createFiles(options);
}

bool DownloadFiles::openAt(const QString &base, const Options &options)
{
    subCloseFiles();
    m_csvLines = 0;
    m_failed = false;
    m_base = base;
    if (baseInUse(base)) {
        m_dialogs.Message_Box(ExistsMessage, Dialogs::OkOnly, QString());
        return false;
    }
    return createFiles(options);
}

bool DownloadFiles::createFiles(const Options &options)
{
    if (options.csv && !create(m_csv, QStringLiteral(".CSV")))
        return false;
    m_rawWanted = options.raw;
    if ((options.raw || options.rawForResume) && !create(m_raw, QStringLiteral(".RAW")))
        return false;
    return true;
}

// The name chosen loses its extension only: a dot in a folder name stays.
QString DownloadFiles::chooseBase(const QString &proposed, const QString &folder)
{
    for (;;) {
        const QString chosen = m_dialogs.getSaveFileName(DialogTitle, proposed, DialogFilter);
        if (chosen.isEmpty())
            return QString();
        const QFileInfo info(chosen);
        const QString dir = info.path().isEmpty() ? folder : info.absolutePath();
        const QString name = info.fileName();
        const qsizetype dot = name.lastIndexOf(u'.');
        const QString base = dir + u'/' + (dot > 0 ? name.left(dot) : name);
        if (!baseInUse(base))
            return base;
        m_dialogs.Message_Box(ExistsMessage, Dialogs::OkOnly, QString());
    }
}

bool DownloadFiles::create(std::unique_ptr<QFile> &file, const QString &extension)
{
    file = std::make_unique<QFile>(m_base + AbortedSuffix + extension);
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_created << extension;
        return true;
    }
    writeFailed(*file);
    file.reset();
    subCloseFiles();
    return false;
}

bool DownloadFiles::subStoreLine(const QString &rawText, const QString &csvText)
{
    if (m_failed)
        return false;
    if (!rawText.isEmpty() && !write(m_raw.get(), rawText))
        return false;
    if (!csvText.isEmpty()) {
        if (!write(m_csv.get(), csvText))
            return false;
        m_csvLines += int(csvText.count(u'\n')) + 1;
    }
    return true;
}

bool DownloadFiles::storeLines(Target target, const QStringList &lines)
{
    if (m_failed)
        return false;
    if (lines.isEmpty())
        return true;
    const bool csv = target == Target::Csv;
    if (!write(csv ? m_csv.get() : m_raw.get(), lines.join(LineEnd)))
        return false;
    if (csv)
        m_csvLines += int(lines.size());
    return true;
}

bool DownloadFiles::write(QFile *file, const QString &text)
{
    if (!file)
        return true;
    const QByteArray bytes = (text + LineEnd).toUtf8();
    if (file->write(bytes) == bytes.size() && file->flush())
        return true;
    writeFailed(*file);
    return false;
}

void DownloadFiles::writeFailed(const QFile &file)
{
    m_failed = true;
    tellWriteFailed(m_dialogs, file);
}

void DownloadFiles::tellWriteFailed(Dialogs &dialogs, const QFile &file)
{
    dialogs.Message_Box(QStringLiteral("The download file could not be written:\r\n%1\r\n%2\r\n\r\n"
                                       "Everything read so far is kept in the files named %3.")
                            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString(),
                                 AbortedSuffix),
                        int(Dialogs::OkOnly) | Dialogs::Critical,
                        QStringLiteral("Download File Error"));
}

void DownloadFiles::subCloseFiles()
{
    if (m_raw)
        m_raw->close();
    if (m_csv)
        m_csv->close();
    m_raw.reset();
    m_csv.reset();
}

bool DownloadFiles::renameToFinal()
{
    for (const QString &extension : std::as_const(m_created)) {
        QFile working(m_base + AbortedSuffix + extension);
        if (extension == QLatin1String(".RAW") && !m_rawWanted) {
            working.remove();
            continue;
        }
        if (!working.rename(m_base + extension)) {
            writeFailed(working);
            return false;
        }
    }
    return true;
}
