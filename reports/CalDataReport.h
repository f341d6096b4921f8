#pragma once

#include <QDateTime>
#include <QString>

class Printer;
struct LoggerHeader;

// The calibration table of every installed channel on paper: the logger's
// identity and the operator's notes, then the channels three abreast, one
// row per calibration field.
class CalDataReport
{
public:
    static const QString Title;
    static constexpr int Rows = 24;
    static constexpr int ChannelsAbreast = 3;

    // The row labels, 1 to 24.
    static QString rowLabel(int row);

    // Installed channels without a due date get the date two days after
    // today; it stays in their records.
    static void fillDueDates(LoggerHeader &header, const QDate &today);
    // The whole print in the report font: the print dialog, the due dates
    // filled, the report, the document ended. False, with nothing printed
    // or changed, when the operator cancels the print dialog.
    static bool print(Printer &printer, LoggerHeader &header, const QString &notes, const QDateTime &now);
    // The report's lines.
    static void layOut(Printer &printer, const LoggerHeader &header, const QString &notes, const QDateTime &now);

private:
    static void layOutGroup(Printer &printer, const LoggerHeader &header, int firstIndex);
    static QString value(const LoggerHeader &header, int index, int row);
};
