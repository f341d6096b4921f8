#include "console/RealTimeChart.h"

#include "console/ChartPicture.h"
#include "console/ValueAxisRange.h"

#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Timer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <cmath>

const std::array<RealTimeChart::Window, 5> RealTimeChart::Windows = {{
    {"Last minute", 60},
    {"Last 10 minutes", 600},
    {"Last hour", 3600},
    {"Last 6 hours", 6 * 3600},
    {"Last day", 24 * 3600},
}};

RealTimeChart::RealTimeChart(EventLoop &loop, Dialogs &dialogs, std::function<QString()> dataFolder,
                             QWidget *parent)
    : QWidget(parent)
    , m_loop(loop)
    , m_dialogs(dialogs)
    , m_dataFolder(std::move(dataFolder))
    , m_redraw(loop.createTimer())
{
    setObjectName(QStringLiteral("RealTimeChart"));
    m_redraw->setIntervalMs(RedrawMs);
    m_redraw->setSingleShot(true);
    m_redraw->setHandler([this] { redraw(); });
    buildChart();
    buildControls();
}

RealTimeChart::~RealTimeChart() = default;

void RealTimeChart::buildChart()
{
    m_chart = new QChart();
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat(QStringLiteral("hh:mm:ss"));
    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_valueAxis = new QValueAxis(m_chart);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    for (int c = 1; c <= ChartHistory::Channels; ++c) {
        auto *series = new QLineSeries(m_chart);
        series->setName(QStringLiteral("Ch %1").arg(c));
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_valueAxis);
        m_series[c - 1] = series;
    }
    m_clips = new QScatterSeries(m_chart);
    m_clips->setName(QStringLiteral("Clip"));
    m_clips->setColor(Qt::red);
    m_clips->setMarkerSize(8);
    m_chart->addSeries(m_clips);
    m_clips->attachAxis(m_timeAxis);
    m_clips->attachAxis(m_valueAxis);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("chartRealTime"));
    m_view->setAccessibleName(QStringLiteral("Live chart"));
    m_view->setRenderHint(QPainter::Antialiasing, false);
    m_view->setMinimumHeight(150);
}

void RealTimeChart::buildControls()
{
    auto *controls = new QHBoxLayout();
    for (int c = 1; c <= ChartHistory::Channels; ++c) {
        auto *box = new QCheckBox(QStringLiteral("Ch %1").arg(c), this);
        box->setObjectName(QStringLiteral("chkChartCh%1").arg(c));
        box->setAccessibleName(box->text());
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, [this, c](bool on) {
            m_series[c - 1]->setVisible(on);
            redrawNow();
        });
        controls->addWidget(box);
        m_channelBoxes[c - 1] = box;
    }
    auto *windowLabel = new QLabel(QStringLiteral("&Time window:"), this);
    m_window = new QComboBox(this);
    m_window->setObjectName(QStringLiteral("cboChartWindow"));
    m_window->setAccessibleName(QStringLiteral("Time window:"));
    windowLabel->setBuddy(m_window);
    for (const Window &w : Windows)
        m_window->addItem(QString::fromLatin1(w.caption));
    m_window->setCurrentIndex(0);
    connect(m_window, &QComboBox::currentIndexChanged, this, [this] { redrawNow(); });
    m_pause = new QCheckBox(QStringLiteral("&Pause chart"), this);
    m_pause->setObjectName(QStringLiteral("chkChartPause"));
    m_pause->setAccessibleName(QStringLiteral("Pause chart"));
    connect(m_pause, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            redrawNow();
    });
    m_save = new QPushButton(QStringLiteral("Save as Picture..."), this);
    m_save->setObjectName(QStringLiteral("cmdChartSavePicture"));
    m_save->setAccessibleName(QStringLiteral("Save as Picture..."));
    connect(m_save, &QPushButton::clicked, this, &RealTimeChart::savePicture);
    controls->addStretch();
    controls->addWidget(windowLabel);
    controls->addWidget(m_window);
    controls->addWidget(m_pause);
    controls->addWidget(m_save);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addLayout(controls);
}

void RealTimeChart::addReading(int channel, const QDateTime &time, double value, bool clip)
{
    m_history.add(channel, time.toMSecsSinceEpoch(), value, clip);
    scheduleRedraw();
}

void RealTimeChart::reset()
{
    m_history.clear();
    redrawNow();
}

void RealTimeChart::setUnits(const QString &units)
{
    m_valueAxis->setTitleText(units);
}

void RealTimeChart::setInstalledChannels(int channels)
{
    for (int c = 1; c <= ChartHistory::Channels; ++c) {
        const bool installed = c <= channels;
        m_channelBoxes[c - 1]->setEnabled(installed);
        m_series[c - 1]->setVisible(installed && m_channelBoxes[c - 1]->isChecked());
    }
}

const QLineSeries &RealTimeChart::series(int channel) const
{
    return *m_series[channel - 1];
}

const QScatterSeries &RealTimeChart::clipMarks() const
{
    return *m_clips;
}

qint64 RealTimeChart::windowSeconds() const
{
    return Windows[std::clamp(m_window->currentIndex(), 0, int(Windows.size()) - 1)].seconds;
}

bool RealTimeChart::paused() const
{
    return m_pause->isChecked();
}

void RealTimeChart::scheduleRedraw()
{
    if (!paused() && !m_redraw->isActive())
        m_redraw->start();
}

void RealTimeChart::redrawNow()
{
    m_redraw->stop();
    redraw();
}

void RealTimeChart::redraw()
{
    if (paused())
        return;
    // Before the first reading the axis shows the minutes up to now.
    const qint64 toMs = m_history.latestMs() > 0 ? m_history.latestMs() : m_loop.now().toMSecsSinceEpoch();
    const qint64 fromMs = toMs - windowSeconds() * 1000;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    QList<QPointF> clipPoints;
    for (int c = 1; c <= ChartHistory::Channels; ++c) {
        const bool shown = m_channelBoxes[c - 1]->isEnabled() && m_channelBoxes[c - 1]->isChecked();
        QList<QPointF> points = shown ? m_history.points(c, fromMs, toMs, Buckets) : QList<QPointF>{};
        points.erase(std::remove_if(points.begin(), points.end(),
                                    [](const QPointF &p) { return !std::isfinite(p.y()); }),
                     points.end());
        for (const QPointF &p : points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        m_series[c - 1]->replace(points);
        if (shown)
            clipPoints += m_history.clips(c, fromMs, toMs);
    }
    const auto [bottom, top] = valueAxisRange(low, high);
    m_valueAxis->setRange(bottom, top);
    for (QPointF &p : clipPoints) {
        if (!std::isfinite(p.y()))
            p.setY(low);
    }
    m_clips->replace(clipPoints);
    m_timeAxis->setFormat(windowSeconds() > 6 * 3600 ? QStringLiteral("MM-dd hh:mm")
                                                     : QStringLiteral("hh:mm:ss"));
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(toMs));
}

void RealTimeChart::savePicture()
{
    const QString proposed = QDir(m_dataFolder ? m_dataFolder() : QString()).filePath(
        QStringLiteral("RealTime-") + m_loop.now().toString(QStringLiteral("yyyyMMdd-hhmmss"))
        + QStringLiteral(".png"));
    ChartPicture::save(*m_view, m_dialogs, proposed, QStringLiteral("Save Chart as Picture"),
                       QStringLiteral("Save as Picture"));
}
