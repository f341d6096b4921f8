#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <limits>
#include <optional>
#include <vector>

// One download as the viewer shows it, whichever file it came from: what
// the logger and test were, the columns, one row per scan with a value per
// column in engineering units, and the status events met between the rows.
class DownloadTable
{
public:
    enum class Kind { PartsCsv, TidyCsv, Raw };
    enum Clip : quint8 { NoClip = 0, LowClip = 1, HighClip = 2 };
    static constexpr qint64 NoTime = std::numeric_limits<qint64>::min();

    struct Facts
    {
        QString fileName;
        Kind kind = Kind::PartsCsv;
        QString serialNumber;
        QString model;
        QString description;
        QDateTime testStart;
        qint64 periodSeconds = 0;
    };

    struct Column
    {
        QString tag;
        QString location;
        QString units;
        // 1-8; 0 when the file does not say which channel it measured.
        int channel = 0;
        // The name a chart legend gives it.
        QString caption() const;
    };

    struct Event
    {
        qint64 afterScan = 0;
        QDateTime time;
        QString kind;
        QString text;
    };

    Facts facts;
    QList<Column> columns;
    QList<Event> events;

    // The rows' times are kept in UTC; shown with this offset when known.
    void setUtcOffset(std::optional<int> seconds) { m_utcOffset = seconds; }
    std::optional<int> utcOffset() const { return m_utcOffset; }

    // Why a row with this scan and time cannot follow the rows so far
    // (scans rise, times never go back), or empty when it can.
    QString orderProblem(qint64 scan, qint64 utcMs) const;
    // A new row; its cells start missing (not a number, no clip).
    void addRow(qint64 scan, qint64 utcMs);
    void setCell(qsizetype row, int column, double value, Clip clip);
    void dropLastRow();

    qsizetype rowCount() const { return qsizetype(m_scans.size()); }
    qint64 scan(qsizetype row) const { return m_scans[size_t(row)]; }
    qint64 utcMs(qsizetype row) const { return m_utcMs[size_t(row)]; }
    // Invalid when the file gives the row no time.
    QDateTime time(qsizetype row) const;
    bool allTimed() const { return m_untimed == 0 && !m_scans.empty(); }
    double value(qsizetype row, int column) const { return m_values[index(row, column)]; }
    Clip clip(qsizetype row, int column) const { return Clip(m_clips[index(row, column)]); }
    // A column's values and clips, a row's worth (columns.size()) apart.
    const double *columnValues(int column) const { return m_values.data() + column; }
    const quint8 *columnClips(int column) const { return m_clips.data() + column; }
    // A time in UTC milliseconds as this table shows it.
    QDateTime shownTime(qint64 utcMs) const;

private:
    size_t index(qsizetype row, int column) const { return size_t(row) * size_t(columns.size()) + size_t(column); }

    std::vector<qint64> m_scans;
    std::vector<qint64> m_utcMs;
    std::vector<double> m_values;
    std::vector<quint8> m_clips;
    qsizetype m_untimed = 0;
    std::optional<int> m_utcOffset;
};
