#pragma once

#include "link/IndicatorColour.h"

#include <QColor>

class QLabel;

// Paints the link's indicator meanings on labels.
namespace IndicatorPainter {

QColor colour(IndicatorColour meaning);
void paint(QLabel *label, IndicatorColour meaning);
// Back to the label's normal background.
void unpaint(QLabel *label);

} // namespace IndicatorPainter
