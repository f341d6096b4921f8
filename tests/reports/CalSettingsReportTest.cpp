#include "calibration/CalFields.h"
#include "reports/CalSettingsReport.h"
#include "tests/reports/ReportLines.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2011, 9, 23), QTime(10, 0, 0));

// Label and the box whose text follows it; 0 for a heading.
struct Expected
{
    const char *label;
    int box;
};

const Expected Lines[] = {
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

} // namespace

// Every box under its label, the calibration type by name, in the report font.
TEST(CalSettingsReport, LinesOfTheWindowsBoxes)
{
    for (const bool twoPoint : {false, true}) {
        CalBoxes boxes;
        for (int n = 1; n <= 23; ++n)
            boxes[n] = QStringLiteral("box %1").arg(n);
        boxes.twoPoint = twoPoint;
        RecordingPrinter printer;
        ASSERT_TRUE(CalSettingsReport::print(printer, boxes, Now));

        QStringList expected{QStringLiteral("       Data Logger Calibration Subroutine")};
        expected << dateAndTime(Now, 8, 24) << QString();
        for (const Expected &line : Lines) {
            const QString label = QString::fromLatin1(line.label);
            if (line.box == 0)
                expected << columns({{8, label}});
            else if (line.box == 24)
                expected << columns({{8, label},
                                     {42, twoPoint ? QStringLiteral("2-point cal, 2nd point")
                                                   : QStringLiteral("DBST sensitivity")}});
            else
                expected << columns({{8, label}, {42, QStringLiteral("box %1").arg(line.box)}});
        }
        EXPECT_EQ(printer.lines().join(u'\n'), expected.join(u'\n'));
        EXPECT_EQ(printer.documents.at(0).title, QStringLiteral("Data Logger Calibration Subroutine"));
        EXPECT_EQ(printer.documents.at(0).fontName, QStringLiteral("Courier 10,12,15"));
        EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
        EXPECT_EQ(printer.fontSize(), 12);
    }
}

TEST(CalSettingsReport, CancelledDialogPrintsNothing)
{
    RecordingPrinter printer;
    printer.acceptDialog = false;
    EXPECT_FALSE(CalSettingsReport::print(printer, CalBoxes(), Now));
    EXPECT_TRUE(printer.documents.empty());
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
}
