#pragma once

#include <QList>
#include <vector>

class DownloadTable;
class QCategoryAxis;
class QChart;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The viewer's chart: a line per column of a download in engineering
// units over time (or over scan numbers when some rows carry no time),
// clip readings and status events marked, and only what the width shown
// can hold drawn, whatever the length of the download.
class DownloadChart
{
public:
    static constexpr int MostLabels = 8;

    DownloadChart(QChart &chart, const DownloadTable &table);

    bool timed() const { return m_timed; }
    double wholeFrom() const;
    double wholeTo() const;
    // The x of a row: seconds after the first row, or its scan number.
    double x(qsizetype row) const { return m_xs[size_t(row)]; }

    void setShown(int column, bool shown);
    bool shown(int column) const;
    // Draws [from, to] with about `buckets` points per column.
    void redraw(double from, double to, int buckets);

    const QLineSeries &series(int column) const { return *m_series[column]; }
    const QScatterSeries &clipMarks() const { return *m_clips; }
    const QScatterSeries &eventMarks() const { return *m_events; }
    QValueAxis &xAxis() const { return *m_xAxis; }
    QValueAxis &yAxis() const { return *m_yAxis; }

private:
    void buildAxes();
    void buildSeries();
    void labelTimes(double from, double to);
    void markClips(double from, double to, int buckets, double low, double high);
    void markEvents(double from, double to, double high);

    QChart &m_chart;
    const DownloadTable &m_table;
    bool m_timed = false;
    std::vector<double> m_xs;
    QList<QLineSeries *> m_series;
    QScatterSeries *m_clips = nullptr;
    QScatterSeries *m_events = nullptr;
    QValueAxis *m_xAxis = nullptr;
    QCategoryAxis *m_timeAxis = nullptr;
    QValueAxis *m_yAxis = nullptr;
};
