#include "console/DownloadChart.h"

#include "console/ValueAxisRange.h"

#include "console/ChartDownsampler.h"
#include "console/TimeAxisLabels.h"
#include "logger/download/DownloadTable.h"

#include <QTime>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

DownloadChart::DownloadChart(QChart &chart, const DownloadTable &table)
    : m_chart(chart)
    , m_table(table)
    , m_timed(table.allTimed())
{
    m_xs.reserve(size_t(table.rowCount()));
    const qint64 origin = m_timed ? table.utcMs(0) : 0;
    for (qsizetype r = 0; r < table.rowCount(); ++r)
        m_xs.push_back(m_timed ? double(table.utcMs(r) - origin) / 1000.0 : double(table.scan(r)));
    m_chart.legend()->setAlignment(Qt::AlignBottom);
    buildAxes();
    buildSeries();
}

double DownloadChart::wholeFrom() const
{
    return m_xs.empty() ? 0 : m_xs.front();
}

double DownloadChart::wholeTo() const
{
    return m_xs.empty() ? 1 : m_xs.back();
}

void DownloadChart::buildAxes()
{
    if (m_timed) {
        m_timeAxis = new QCategoryAxis(&m_chart);
        m_timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        const int offset = m_table.utcOffset().value_or(0);
        m_timeAxis->setTitleText(m_table.utcOffset()
                                     ? QStringLiteral("Time (UTC%1%2)")
                                           .arg(QChar(offset < 0 ? u'-' : u'+'))
                                           .arg(QTime(0, 0).addSecs(qAbs(offset)).toString(QStringLiteral("hh:mm")))
                                     : QStringLiteral("Time"));
        m_xAxis = m_timeAxis;
    } else {
        m_xAxis = new QValueAxis(&m_chart);
        m_xAxis->setLabelFormat(QStringLiteral("%.0f"));
        m_xAxis->setTitleText(QStringLiteral("Scan number"));
    }
    m_yAxis = new QValueAxis(&m_chart);
    QStringList units;
    for (const auto &column : m_table.columns)
        if (!units.contains(column.units))
            units << column.units;
    m_yAxis->setTitleText(units.size() == 1 ? units.first() : QStringLiteral("Engineering units"));
    m_chart.addAxis(m_xAxis, Qt::AlignBottom);
    m_chart.addAxis(m_yAxis, Qt::AlignLeft);
}

void DownloadChart::buildSeries()
{
    auto attach = [this](auto *series) {
        m_chart.addSeries(series);
        series->attachAxis(m_xAxis);
        series->attachAxis(m_yAxis);
    };
    for (const DownloadTable::Column &column : m_table.columns) {
        auto *series = new QLineSeries(&m_chart);
        series->setName(column.caption());
        attach(series);
        m_series << series;
    }
    m_clips = new QScatterSeries(&m_chart);
    m_clips->setName(QStringLiteral("Clips"));
    m_clips->setColor(Qt::red);
    m_clips->setMarkerSize(8);
    attach(m_clips);
    m_events = new QScatterSeries(&m_chart);
    m_events->setName(QStringLiteral("Events"));
    m_events->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_events->setColor(Qt::black);
    m_events->setMarkerSize(10);
    attach(m_events);
}

void DownloadChart::setShown(int column, bool shown)
{
    m_series[column]->setVisible(shown);
}

bool DownloadChart::shown(int column) const
{
    return m_series[column]->isVisible();
}

void DownloadChart::redraw(double from, double to, int buckets)
{
    const qsizetype stride = m_table.columns.size();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int c = 0; c < m_series.size(); ++c) {
        QList<QPointF> points;
        if (shown(c))
            points = ChartDownsampler::minMax(m_xs, m_table.columnValues(c), stride, from, to, buckets);
        for (const QPointF &p : points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        m_series[c]->replace(points);
    }
    const auto [bottom, top] = valueAxisRange(low, high);
    m_yAxis->setRange(bottom, top);
    m_xAxis->setRange(from, to);
    if (m_timeAxis)
        labelTimes(from, to);
    markClips(from, to, buckets, bottom, top);
    markEvents(from, to, top);
}

void DownloadChart::labelTimes(double from, double to)
{
    for (const QString &label : m_timeAxis->categoriesLabels())
        m_timeAxis->remove(label);
    m_timeAxis->setStartValue(from);
    const auto ticks = TimeAxisLabels::ticks(m_table.utcMs(0), m_table.utcOffset().value_or(0), from, to, MostLabels);
    for (const TimeAxisLabels::Tick &tick : ticks)
        m_timeAxis->append(tick.label, tick.x);
    m_timeAxis->setRange(from, to);
}

// One mark per column and bucket at most: at the bottom for a low clip,
// at the top for a high one.
void DownloadChart::markClips(double from, double to, int buckets, double low, double high)
{
    const auto [begin, end] = ChartDownsampler::span(m_xs, from, to);
    const qsizetype stride = m_table.columns.size();
    const double width = (to - from) / std::max(1, buckets);
    QList<QPointF> marks;
    for (int c = 0; c < m_series.size(); ++c) {
        if (!shown(c))
            continue;
        const quint8 *clips = m_table.columnClips(c);
        qint64 lastBucket = std::numeric_limits<qint64>::min();
        for (qsizetype r = begin; r < end; ++r) {
            const quint8 clip = clips[r * stride];
            const qint64 bucket = qint64(std::floor((m_xs[size_t(r)] - from) / width)) * 4 + clip;
            if (clip == DownloadTable::NoClip || bucket == lastBucket)
                continue;
            lastBucket = bucket;
            marks.append(QPointF(m_xs[size_t(r)], clip == DownloadTable::LowClip ? low : high));
        }
    }
    m_clips->replace(marks);
}

void DownloadChart::markEvents(double from, double to, double high)
{
    QList<QPointF> marks;
    for (const DownloadTable::Event &event : m_table.events) {
        qsizetype row = 0;
        for (qsizetype lo = 0, hi = m_table.rowCount(); lo < hi;) {
            const qsizetype mid = (lo + hi) / 2;
            if (m_table.scan(mid) <= event.afterScan) {
                row = mid;
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        const double x = m_xs.empty() ? 0 : m_xs[size_t(row)];
        if (x >= from && x <= to && (marks.isEmpty() || marks.last().x() != x))
            marks.append(QPointF(x, high));
    }
    m_events->replace(marks);
}
