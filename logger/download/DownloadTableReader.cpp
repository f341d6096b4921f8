#include "logger/download/DownloadTableReader.h"

#include "logger/download/CsvLines.h"
#include "logger/download/PartsCsvParser.h"
#include "logger/download/TidyCsvParser.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace {
const QString TidySuffix = QStringLiteral(".tidy.csv");
constexpr qint64 MetadataBytesAtMost = 16 * 1024 * 1024;

// Opens the file and looks at its start; empty on success, else the reason.
QString open(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read (%1)").arg(file.errorString());
    if (file.size() == 0)
        return QStringLiteral("the file is empty");
    return CsvLines::encodingProblem(file.peek(4096));
}

// The serial number a download's file name starts with.
QString serialFromName(const QString &name)
{
    const qsizetype dash = name.indexOf(u'-');
    return dash > 0 ? name.left(dash) : QString();
}

QString besideTidy(const QString &tidyPath, const QString &suffix)
{
    return tidyPath.chopped(TidySuffix.size()) + suffix;
}
} // namespace

QString DownloadTableReader::fileFilter() const
{
    return readsRaw() ? QStringLiteral("Downloads (*.csv *.CSV *.raw *.RAW);;All files (*)")
                      : QStringLiteral("Downloads (*.csv *.CSV);;All files (*)");
}

DownloadRead DownloadTableReader::read(const QString &path) const
{
    const QString name = QFileInfo(path).fileName();
    DownloadRead result;
    if (name.endsWith(QStringLiteral(".raw"), Qt::CaseInsensitive))
        result = readRaw(path);
    else if (name.endsWith(TidySuffix, Qt::CaseInsensitive))
        result = readTidyFile(path);
    else if (name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        result = readPartsCsv(path);
    else
        result.refuse(QStringLiteral("only .CSV and .RAW files of a download can be opened"));
    finish(result, name);
    return result;
}

DownloadRead DownloadTableReader::readPartsCsv(const QString &path)
{
    DownloadRead result;
    QFile file(path);
    const QString problem = open(file);
    if (!problem.isEmpty()) {
        result.refuse(problem);
        return result;
    }
    CsvLines lines(file);
    PartsCsvParser(lines, result).parse();
    return result;
}

DownloadRead DownloadTableReader::readTidyFile(const QString &path)
{
    DownloadRead result;
    TidyTexts texts;
    QFile metadata(besideTidy(path, QStringLiteral(".json")));
    if (metadata.exists()) {
        if (metadata.size() > MetadataBytesAtMost || !metadata.open(QIODevice::ReadOnly))
            result.notes << QStringLiteral("its metadata file cannot be read");
        else
            texts.metadata = metadata.readAll();
    }
    QFile rows(path);
    QString problem = open(rows);
    if (!problem.isEmpty()) {
        result.refuse(problem);
        return result;
    }
    CsvLines lines(rows);
    TidyCsvParser tidy(lines, result);
    if (!texts.metadata.isEmpty() && !tidy.parseMetadata(texts.metadata))
        return result;
    tidy.parse();
    QFile events(besideTidy(path, QStringLiteral(".events.csv")));
    if (!result.refused && events.exists()) {
        const QString eventsName = QFileInfo(events).fileName();
        problem = open(events);
        if (!problem.isEmpty()) {
            result.notes << eventsName + QStringLiteral(": ") + problem;
        } else {
            CsvLines eventLines(events);
            tidy.parseEvents(eventLines, eventsName);
        }
    }
    return result;
}

DownloadRead DownloadTableReader::readTidyText(const TidyTexts &texts, const QString &name)
{
    DownloadRead result;
    QBuffer rows;
    rows.setData(texts.rows);
    rows.open(QIODevice::ReadOnly);
    const QString problem = CsvLines::encodingProblem(texts.rows.left(4096));
    CsvLines lines(rows);
    TidyCsvParser tidy(lines, result);
    if (!problem.isEmpty())
        result.refuse(problem);
    else if (texts.metadata.isEmpty() || tidy.parseMetadata(texts.metadata))
        tidy.parse();
    if (!result.refused && !texts.events.isEmpty()) {
        QBuffer events;
        events.setData(texts.events);
        events.open(QIODevice::ReadOnly);
        CsvLines eventLines(events);
        tidy.parseEvents(eventLines, QStringLiteral("events"));
    }
    finish(result, name);
    return result;
}

DownloadRead DownloadTableReader::readRaw(const QString &path) const
{
    DownloadRead result;
    if (!m_rawRebuild) {
        result.refuse(QStringLiteral("RAW files cannot be opened by this version"));
        return result;
    }
    TidyTexts texts;
    QString error;
    if (!m_rawRebuild(path, &texts, &error)) {
        result.refuse(error);
        return result;
    }
    result = readTidyText(texts, QFileInfo(path).fileName());
    result.table.facts.kind = DownloadTable::Kind::Raw;
    return result;
}

void DownloadTableReader::finish(DownloadRead &read, const QString &name)
{
    DownloadTable::Facts &facts = read.table.facts;
    facts.fileName = name;
    if (facts.serialNumber.isEmpty() && facts.kind != DownloadTable::Kind::PartsCsv)
        facts.serialNumber = serialFromName(name);
    if (!read.refused && read.table.rowCount() == 0) {
        read.refused = true;
        if (read.fault.isEmpty())
            read.fault = QStringLiteral("it holds no rows of data");
    }
    QStringList problems;
    if (read.faultLine > 0)
        problems << QStringLiteral("line %1: %2").arg(read.faultLine).arg(read.fault);
    else if (!read.fault.isEmpty())
        problems << read.fault;
    problems += read.notes;
    if (read.refused)
        read.message = QStringLiteral("%1 cannot be opened: %2.").arg(name, problems.first());
    else if (!problems.isEmpty())
        read.message = QStringLiteral("%1: read %2 %3; %4.")
                           .arg(name)
                           .arg(read.table.rowCount())
                           .arg(read.table.rowCount() == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                           .arg(problems.join(QStringLiteral("; ")));
}
