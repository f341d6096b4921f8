#include "reports/ReportText.h"

#include "platform/Printer.h"

#include <QLocale>
#include <QRegularExpression>

QString ReportText::longDate(const QDateTime &when)
{
    return QLocale::system().toString(when.date(), QLocale::LongFormat);
}

QString ReportText::longTime(const QDateTime &when)
{
    return QLocale::system().toString(when.time(), QLocale::LongFormat);
}

QStringList ReportText::noteLines(const QString &notes)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return notes.split(lineEnd);
}

void ReportText::printNotes(Printer &printer, int column, const QString &notes)
{
    for (const QString &line : noteLines(notes)) {
        printer.printAt(column, line);
        printer.newLine();
    }
}
