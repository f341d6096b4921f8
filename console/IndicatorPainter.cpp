#include "console/IndicatorPainter.h"

#include <QLabel>

namespace IndicatorPainter {

QColor colour(IndicatorColour meaning)
{
    switch (meaning) {
    case IndicatorColour::Red: return QColor(255, 0, 0);
    case IndicatorColour::Green: return QColor(0, 255, 0);
    case IndicatorColour::DarkGreen: return QColor(0, 128, 0);
    case IndicatorColour::Yellow: return QColor(255, 255, 0);
    case IndicatorColour::Orange: return QColor(192, 64, 0);
    }
    return {};
}

void paint(QLabel *label, IndicatorColour meaning)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour(meaning));
    label->setPalette(palette);
}

void unpaint(QLabel *label)
{
    label->setPalette(QPalette());
    label->setAutoFillBackground(false);
}

} // namespace IndicatorPainter
