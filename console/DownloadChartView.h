#pragma once

#include <QtCharts/QChartView>

class ChartViewport;

// The viewer's chart on screen, moved about as an operator expects: the
// wheel zooms about the pointer, a drag with the left button zooms into
// the stretch marked, a drag with the right or middle button pans; "+" and
// "-" zoom, the arrow keys pan and Home shows everything again.
class DownloadChartView : public QChartView
{
    Q_OBJECT

public:
    static constexpr double ZoomStep = 1.5;
    static constexpr double PanStep = 0.1;

    DownloadChartView(QChart *chart, ChartViewport &viewport, QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double xAt(const QPointF &position) const;

    ChartViewport &m_viewport;
    bool m_panning = false;
    double m_panStart = 0;
};
