#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Printer;

// Texts shared by the reports.
class ReportText
{
public:
    // The date and time as the PC's long formats write them.
    static QString longDate(const QDateTime &when);
    static QString longTime(const QDateTime &when);
    // The operator's notes as lines: CR LF, CR or LF end a line.
    static QStringList noteLines(const QString &notes);
    // Each line of the notes at the column, one printed line each; an empty
    // note still takes its line.
    static void printNotes(Printer &printer, int column, const QString &notes);
};
