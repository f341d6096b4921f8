#include "logger/download/TidyExport.h"

#include "logger/LoggerHeader.h"
#include "logger/download/DownloadFiles.h"
#include "logger/download/FixedOffsetTime.h"

#include <QFile>
#include <QJsonDocument>

const QString TidyExport::MetadataExtension = QStringLiteral(".json");

TidyExport::TidyExport(Dialogs &dialogs)
    : m_dialogs(dialogs)
    , m_files(dialogs)
{
}

void TidyExport::describe(const LoggerHeader &header, const CsvHeaderBlock::Inputs &block)
{
    m_block = block;
    m_columns = TidyColumn::list(header, block.columns);
}

bool TidyExport::open(const QString &base, const LoggerHeader &header, bool wanted)
{
    m_active = false;
    m_base.clear();
    if (!wanted)
        return false;
    m_base = base;
    m_active = true;
    m_scans = 0;
    m_events = 0;
    m_files.open(base, m_columns, FixedOffsetTime(header.initTimeZone, header.startDate));
    return true;
}

void TidyExport::follow(ScanRows::Sink &sink)
{
    if (!m_active)
        return;
    sink.scanDone = [this](const ScanRows::ScanRecord &scan) {
        ++m_scans;
        m_files.addScan(scan);
    };
    sink.event = [this](const ScanRows::EventRecord &event) {
        ++m_events;
        m_files.addEvent(event);
    };
}

// The comma-separated and RAW files under the names the ending gave them
// (a rename that failed part way leaves some under the other name), then
// the tidy files.
QStringList TidyExport::downloadFiles(bool complete) const
{
    QStringList paths;
    for (const QString &extension : {QStringLiteral(".CSV"), QStringLiteral(".RAW")}) {
        const QString final = m_base + extension;
        const QString working = m_base + DownloadFiles::AbortedSuffix + extension;
        const QString first = complete ? final : working;
        const QString second = complete ? working : final;
        if (QFile::exists(first))
            paths << first;
        else if (QFile::exists(second))
            paths << second;
    }
    return paths + m_files.paths();
}

void TidyExport::writeMetadata(const LoggerHeader &header, const DownloadMetadata::Capture &capture,
                               DownloadMetadata::Download download, bool complete)
{
    if (!m_active)
        return;
    m_active = false;
    m_files.close();
    download.scans = m_scans;
    download.events = m_events;
    const DownloadMetadata::Inputs inputs{header, m_block, m_columns, capture, download,
                                          downloadFiles(complete)};
    const QByteArray json = QJsonDocument(DownloadMetadata::build(inputs)).toJson(QJsonDocument::Indented);
    QFile file(m_base + (complete ? QString() : DownloadFiles::AbortedSuffix) + MetadataExtension);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(json) != json.size()
        || !file.flush())
        DownloadFiles::tellWriteFailed(m_dialogs, file);
}
