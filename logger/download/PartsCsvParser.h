#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

class CsvLines;
struct DownloadRead;

// Reads the comma-separated file a download writes for spreadsheets: the
// header block's facts, the calibration rows, then the data rows, whose
// engineering cells are formulas or clip texts, so each value is computed
// here as count * slope + offset + tare. Status and memory-error lines
// between the rows become events; the notes after the data are left.
class PartsCsvParser
{
public:
    PartsCsvParser(CsvLines &lines, DownloadRead &read);
    void parse();

private:
    struct Calibration
    {
        double slope = 1;
        double offset = 0;
        double tare = 0;
    };

    bool readHeader();
    void headerLine(QByteArrayView line);
    bool buildColumns();
    void readFacts();
    void readData();
    // false stops the reading.
    bool dataLine(QByteArrayView line);
    bool rowLine(QByteArrayView line);
    bool statusLine(QByteArrayView text);
    bool continueRow(const QList<QByteArrayView> &cells);
    bool fillCounts(qsizetype row, const QList<QByteArrayView> &cells, int first, int from, int count);
    void addEvent(const QString &kind, const QString &text);
    bool fault(const QString &why);

    CsvLines &m_lines;
    DownloadRead &m_read;
    QHash<QString, QString> m_facts;
    QHash<QString, QList<QByteArray>> m_channelRows;
    // The cells of the row in hand, kept to save allocations.
    QList<QByteArrayView> m_cells;
    std::vector<Calibration> m_cal;
    int m_columns = 0;
    std::optional<int> m_offset;
    // A row cut short: its counts so far, and whether a memory error
    // followed it, so the next line may carry the rest.
    int m_shortCounts = -1;
    int m_shortLine = 0;
    bool m_syncAfterShort = false;
};
