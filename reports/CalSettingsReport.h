#pragma once

#include <QDateTime>
#include <QString>

class Printer;
struct CalBoxes;

// One channel's calibration as the calibration window shows it, on paper:
// a label and its value per line, in four sections.
class CalSettingsReport
{
public:
    static const QString Title;

    // The whole print in the report font; false, with nothing printed, when
    // the operator cancels the print dialog.
    static bool print(Printer &printer, const CalBoxes &boxes, const QDateTime &now);
    static void layOut(Printer &printer, const CalBoxes &boxes, const QDateTime &now);
};
