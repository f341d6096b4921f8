#include "reports/CalSettingsReport.h"

#include "calibration/CalFields.h"
#include "platform/Printer.h"
#include "reports/ReportFont.h"
#include "reports/ReportText.h"

#include <array>

const QString CalSettingsReport::Title = QStringLiteral("Data Logger Calibration Subroutine");

namespace {

constexpr int LabelColumn = 8;
constexpr int TimeColumn = 24;
constexpr int ValueColumn = 42;

// A labelled field of the window (1-24), or a section heading (field 0).
struct Item
{
    const char *label;
    int field;
};

constexpr Item Items[] = {
    {" Sensor Number:       ", 1},
    {" Cal Due Date:        ", 2},
    {" Excitation EU:       ", 3},
    {" Sensor Calibration Information ", 0},
    {" Model Number:        ", 4},
    {" Serial Number:       ", 5},
    {" Eng. Units:          ", 6},
    {" MilliVolts at 0%:    ", 7},
    {" EU at 0%:            ", 8},
    {" Full Scale EU at 0%: ", 9},
    {" Excitation (uA/mV):  ", 10},
    {" MilliVolts at 100%:  ", 11},
    {" EU at 100%:          ", 12},
    {" Full Scale EU at 100%:", 13},
    {" LocCode:             ", 14},
    {" Cal Type, point B    ", 24},
    {" Signal Conditioner Cal Information", 0},
    {" Serial Number:       ", 15},
    {" Excitiation (uA/mV): ", 16},
    {" Offset (MilliVolts): ", 17},
    {" Gain:                ", 18},
    {" Logger Settings", 0},
    {" Slope:               ", 19},
    {" Offset:              ", 20},
    {" Calculation results", 0},
    {" Output @0%:          ", 21},
    {" Output @100%:        ", 22},
    {" Sensitivity (EU/mv): ", 23},
};

QString valueOf(const CalBoxes &boxes, int field)
{
    return field == CalFields::CalType ? CalFields::calTypeText(boxes.twoPoint) : boxes[field];
}

} // namespace

bool CalSettingsReport::print(Printer &printer, const CalBoxes &boxes, const QDateTime &now)
{
    const ReportFont font(printer);
    if (!printer.showPrintDialog(Title))
        return false;
    layOut(printer, boxes, now);
    printer.endDoc();
    return true;
}

void CalSettingsReport::layOut(Printer &printer, const CalBoxes &boxes, const QDateTime &now)
{
    printer.printAt(LabelColumn, Title);
    printer.newLine();
    printer.printAt(LabelColumn, ReportText::longDate(now));
    printer.printAt(TimeColumn, ReportText::longTime(now));
    printer.newLine();
    printer.newLine();
    for (const Item &item : Items) {
        printer.printAt(LabelColumn, QString::fromLatin1(item.label));
        if (item.field > 0)
            printer.printAt(ValueColumn, valueOf(boxes, item.field));
        printer.newLine();
    }
}
