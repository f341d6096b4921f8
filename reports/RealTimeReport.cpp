#include "reports/RealTimeReport.h"

#include "logger/QuotedRecords.h"
#include "platform/Printer.h"
#include "reports/ReportFont.h"
#include "reports/ReportText.h"

const QString RealTimeReport::Title = QStringLiteral("Data Logger Real Time Data");

namespace {

constexpr int TitleColumn = 24;
constexpr int TimeColumn = 44;
constexpr int CountColumn = 17;

void emptyLine(Printer &printer)
{
    printer.newLine();
}

QString record(const QStringList &items)
{
    QStringList quoted;
    for (const QString &item : items)
        quoted << QuotedRecords::quoted(item);
    return quoted.join(u'\t') + QStringLiteral("\r\n");
}

} // namespace

bool RealTimeReport::print(Printer &printer, const Contents &contents, const QDateTime &now)
{
    const ReportFont font(printer);
    if (!printer.showPrintDialog(Title))
        return false;
    layOut(printer, contents, now);
    printer.endDoc();
    return true;
}

void RealTimeReport::layOut(Printer &printer, const Contents &contents, const QDateTime &now)
{
    printer.printAt(TitleColumn, Title);
    printer.newLine();
    printer.printAt(1, ReportText::longDate(now));
    printer.printAt(TimeColumn, ReportText::longTime(now));
    printer.newLine();
    emptyLine(printer);
    ReportText::printNotes(printer, 1, contents.notes);
    emptyLine(printer);
    printer.printAt(1, QStringLiteral("Current Count:"));
    printer.printAt(CountColumn, contents.count);
    printer.newLine();
    emptyLine(printer);
    for (qsizetype r = 0; r < contents.rows.size(); ++r) {
        printer.printAt(1, printedRow(contents.rows.at(r), r == 0));
        printer.newLine();
    }
    emptyLine(printer);
}

QString RealTimeReport::printedRow(const QStringList &cells, bool headings)
{
    QString text = headings ? QStringLiteral("__________") : QString();
    // A longer text is not cut: the picture only pads.
    for (const QString &cell : cells)
        text += cell.rightJustified(CellWidth, u' ');
    return text;
}

QByteArray RealTimeReport::fileText(const Contents &contents, const QDateTime &now)
{
    QString text = record({QStringLiteral("File"), Title});
    text += record({ReportText::longDate(now), ReportText::longTime(now)});
    text += record({ReportText::noteLines(contents.notes).join(QStringLiteral("\r\n")), contents.count});
    for (const QStringList &row : contents.rows)
        text += record(row);
    return text.toUtf8();
}
