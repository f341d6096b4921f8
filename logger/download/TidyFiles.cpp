#include "logger/download/TidyFiles.h"

#include "logger/download/DownloadFiles.h"
#include "logger/download/TidyText.h"

const QString TidyFiles::TidyExtension = QStringLiteral(".tidy.csv");
const QString TidyFiles::EventsExtension = QStringLiteral(".events.csv");

TidyFiles::TidyFiles(Dialogs &dialogs)
    : m_dialogs(dialogs)
{
}

TidyFiles::~TidyFiles()
{
    close();
}

bool TidyFiles::open(const QString &base, const QList<TidyColumn> &columns, const FixedOffsetTime &clock)
{
    close();
    m_base = base;
    m_columns = columns;
    m_clock = std::make_unique<FixedOffsetTime>(clock);
    m_final = false;
    m_failed = false;
    if (!create(m_tidy, TidyExtension) || !create(m_events, EventsExtension))
        return false;
    write(m_tidy.get(), headerLine());
    write(m_events.get(), TidyText::line({QStringLiteral("after_scan"), QStringLiteral("time"),
                                          QStringLiteral("kind"), QStringLiteral("text")}));
    return !m_failed;
}

bool TidyFiles::create(std::unique_ptr<QFile> &file, const QString &extension)
{
    file = std::make_unique<QFile>(m_base + DownloadFiles::AbortedSuffix + extension);
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    fail(*file);
    return false;
}

QString TidyFiles::headerLine() const
{
    QStringList names{QStringLiteral("scan"), QStringLiteral("time")};
    for (const TidyColumn &column : m_columns)
        names << column.countName() << column.valueName() << column.clipName();
    return TidyText::line(names);
}

void TidyFiles::addScan(const ScanRows::ScanRecord &scan)
{
    if (!m_tidy)
        return;
    QStringList fields{QString::number(scan.number), m_clock->scanText(scan.time)};
    for (const TidyColumn &column : m_columns)
        fields += column.cells(scan.counts[column.column]);
    write(m_tidy.get(), TidyText::line(fields));
}

void TidyFiles::addEvent(const ScanRows::EventRecord &event)
{
    if (!m_events)
        return;
    const QString kind = event.kind == ScanRows::EventRecord::Kind::Status ? QStringLiteral("status")
                                                                            : QStringLiteral("sync_error");
    write(m_events.get(), TidyText::line({QString::number(event.afterScan), m_clock->scanText(event.time),
                                          kind, event.text}));
}

void TidyFiles::write(QFile *file, const QString &text)
{
    if (!file || m_failed)
        return;
    const QByteArray bytes = text.toUtf8();
    if (file->write(bytes) != bytes.size() || !file->flush())
        fail(*file);
}

// Told once; the files stop there and keep what they hold.
void TidyFiles::fail(const QFile &file)
{
    if (!m_failed)
        DownloadFiles::tellWriteFailed(m_dialogs, file);
    m_failed = true;
    close();
}

void TidyFiles::close()
{
    if (m_tidy)
        m_tidy->close();
    if (m_events)
        m_events->close();
    m_tidy.reset();
    m_events.reset();
}

bool TidyFiles::renameToFinal()
{
    close();
    if (m_failed || m_base.isEmpty())
        return false;
    for (const QString &extension : {TidyExtension, EventsExtension}) {
        QFile working(m_base + DownloadFiles::AbortedSuffix + extension);
        if (working.exists() && !working.rename(m_base + extension)) {
            fail(working);
            return false;
        }
    }
    m_final = true;
    return true;
}

QStringList TidyFiles::paths() const
{
    QStringList paths;
    if (m_base.isEmpty())
        return paths;
    for (const QString &extension : {TidyExtension, EventsExtension}) {
        const QString path = m_base + (m_final ? QString() : DownloadFiles::AbortedSuffix) + extension;
        if (QFile::exists(path))
            paths << path;
    }
    return paths;
}
