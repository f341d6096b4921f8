#pragma once

#include <QObject>

// The stretch of the x axis a chart shows, within the whole of its data:
// zoomed about a point, panned by a part of its width, reset to the whole.
// It never leaves the data and never shrinks below a small part of it.
class ChartViewport : public QObject
{
    Q_OBJECT

public:
    static constexpr double MinimumPart = 1e-6;

    void setWhole(double from, double to);
    // Changes the range to [from, to], kept inside the whole.
    void show(double from, double to);
    // factor > 1 zooms in, about the point `at`.
    void zoom(double factor, double at);
    void zoomAboutCentre(double factor) { zoom(factor, (m_from + m_to) / 2); }
    // A part of the width shown: positive moves to later data.
    void pan(double part);
    void reset() { show(m_wholeFrom, m_wholeTo); }

    double from() const { return m_from; }
    double to() const { return m_to; }
    double wholeFrom() const { return m_wholeFrom; }
    double wholeTo() const { return m_wholeTo; }
    bool zoomed() const { return m_from > m_wholeFrom || m_to < m_wholeTo; }

Q_SIGNALS:
    void changed();

private:
    double m_wholeFrom = 0;
    double m_wholeTo = 1;
    double m_from = 0;
    double m_to = 1;
};
