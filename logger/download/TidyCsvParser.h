#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CsvLines;
struct DownloadRead;

// Reads the tidy export of a download: one heading, then one row per scan
// with count, engineering value and clip flag per column; the events table
// and the metadata beside it when they are there.
class TidyCsvParser
{
public:
    TidyCsvParser(CsvLines &rows, DownloadRead &read);
    void parse();
    // The events table; its faults become notes, the rows stay.
    void parseEvents(CsvLines &events, const QString &name);
    // The metadata; false when it belongs to no download this program reads.
    bool parseMetadata(const QByteArray &json);

private:
    bool heading(const QByteArray &line);
    bool row(const QByteArray &line);
    bool cells(const QByteArray &line, QList<QByteArray> *cells);
    bool time(const QByteArray &cell, qint64 *utcMs);
    bool fault(const QString &why);

    CsvLines &m_rows;
    DownloadRead &m_read;
    int m_columns = 0;
    bool m_offsetSeen = false;
};
