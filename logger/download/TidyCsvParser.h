#pragma once

#include <QByteArray>
#include <QByteArrayView>
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
    bool heading(QByteArrayView line);
    bool row(QByteArrayView line);
    bool cells(QByteArrayView line);
    bool time(QByteArrayView cell, qint64 *utcMs);
    bool fault(const QString &why);

    CsvLines &m_rows;
    DownloadRead &m_read;
    int m_columns = 0;
    bool m_offsetSeen = false;
    // The cells of the row in hand; quoted cells are kept unquoted beside.
    QList<QByteArrayView> m_cells;
    QList<QByteArray> m_unquoted;
};
