#include "console/DownloadChartView.h"

#include "console/ChartViewport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <QtCharts/QValueAxis>

DownloadChartView::DownloadChartView(QChart *chart, ChartViewport &viewport, QWidget *parent)
    : QChartView(chart, parent)
    , m_viewport(viewport)
{
    setRubberBand(QChartView::HorizontalRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setRenderHint(QPainter::Antialiasing, false);
}

double DownloadChartView::xAt(const QPointF &position) const
{
    const double x = chart()->mapToValue(chart()->mapFromScene(mapToScene(position.toPoint()))).x();
    // Before the chart is laid out no point maps to a value: the middle then.
    return std::isfinite(x) ? x : (m_viewport.from() + m_viewport.to()) / 2;
}

void DownloadChartView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0)
        return;
    m_viewport.zoom(std::pow(ZoomStep, steps), xAt(event->position()));
    event->accept();
}

void DownloadChartView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        m_viewport.zoomAboutCentre(ZoomStep);
        break;
    case Qt::Key_Minus:
        m_viewport.zoomAboutCentre(1 / ZoomStep);
        break;
    case Qt::Key_Left:
        m_viewport.pan(-PanStep);
        break;
    case Qt::Key_Right:
        m_viewport.pan(PanStep);
        break;
    case Qt::Key_Home:
        m_viewport.reset();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DownloadChartView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panStart = xAt(event->position());
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void DownloadChartView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_panning) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const double shift = m_panStart - xAt(event->position());
    m_viewport.show(m_viewport.from() + shift, m_viewport.to() + shift);
    event->accept();
}

void DownloadChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panning && (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)) {
        m_panning = false;
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}
