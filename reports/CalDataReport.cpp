#include "reports/CalDataReport.h"

#include "calibration/CalFields.h"
#include "calibration/CalNumbers.h"
#include "logger/LoggerHeader.h"
#include "platform/Printer.h"
#include "reports/ReportFont.h"
#include "reports/ReportText.h"

#include <array>

const QString CalDataReport::Title = QStringLiteral("Data Logger Calibration Data");

namespace {

constexpr std::array<const char *, CalDataReport::Rows> Labels = {
    "  1: Sensor Num       ", "  2: Cal Due Date     ", "  3: Exc EU           ", "  4: Model Num        ",
    "  5: Serial Num       ", "  6: Eng Units        ", "  7: Milli at 0       ", "  8: EU at 0          ",
    "  9: FSEU at 0        ", " 10: Excite           ", " 11: Milli at 100     ", " 12: EU at 100        ",
    " 13: FSEU at 100      ", " 14: Loc Code         ", " 15: DL Serial Num    ", " 16: SC exite         ",
    " 17: SC Offset        ", " 18: SC Gain          ", " 19: Logger Slope     ", " 20: Logger Offset    ",
    " 21: SC Output at 0   ", " 22: SC Output at 100 ", " 23: Sensitivity      ", " 24: Cal Type, point B",
};

constexpr int LeftColumn = 8;
constexpr int TimeColumn = 48;
constexpr int IdentityColumn = 80;
constexpr int IdentityValueColumn = 104;
constexpr std::array<int, CalDataReport::ChannelsAbreast> ValueColumns = {32, 56, 80};

// A due date of the record as "yyyy-mm-dd"; a text that is no date stays as it is.
QString isoDueDate(const QString &calDue)
{
    const std::optional<QDate> date = CalNumbers::dueDate(calDue);
    return date ? date->toString(QStringLiteral("yyyy-MM-dd")) : calDue;
}

void line(Printer &printer, int column, const QString &text)
{
    printer.printAt(column, text);
    printer.newLine();
}

} // namespace

QString CalDataReport::rowLabel(int row)
{
    return QString::fromLatin1(Labels.at(size_t(row - 1)));
}

void CalDataReport::fillDueDates(LoggerHeader &header, const QDate &today)
{
    for (int index = 0; index < header.channelBlocks(); ++index) {
        QString &due = header.channel.at(size_t(index)).calDue;
        if (due.isEmpty())
            due = CalNumbers::defaultDueDate(today);
    }
}

bool CalDataReport::print(Printer &printer, LoggerHeader &header, const QString &notes, const QDateTime &now)
{
    const ReportFont font(printer);
    if (!printer.showPrintDialog(Title))
        return false;
    fillDueDates(header, now.date());
    layOut(printer, header, notes, now);
    printer.endDoc();
    return true;
}

void CalDataReport::layOut(Printer &printer, const LoggerHeader &header, const QString &notes, const QDateTime &now)
{
    line(printer, LeftColumn, QStringLiteral("Signal Conditioning Calibration Data"));
    printer.printAt(LeftColumn, ReportText::longDate(now));
    line(printer, TimeColumn, ReportText::longTime(now));
    printer.newLine();
    printer.printAt(IdentityColumn, QStringLiteral("Model Number:  "));
    line(printer, IdentityValueColumn, header.modelVersion);
    printer.printAt(IdentityColumn, QStringLiteral("Serial Number: "));
    line(printer, IdentityValueColumn, header.serialNumber);
    printer.newLine();
    ReportText::printNotes(printer, LeftColumn, notes);
    printer.newLine();
    for (int first = 0; first < header.channelBlocks(); first += ChannelsAbreast)
        layOutGroup(printer, header, first);
}

void CalDataReport::layOutGroup(Printer &printer, const LoggerHeader &header, int firstIndex)
{
    const int count = qMin(ChannelsAbreast, header.channelBlocks() - firstIndex);
    for (int row = 1; row <= Rows; ++row) {
        printer.printAt(LeftColumn, rowLabel(row));
        for (int i = 0; i < count; ++i)
            printer.printAt(ValueColumns.at(size_t(i)), value(header, firstIndex + i, row));
        printer.newLine();
    }
    printer.newLine();
}

QString CalDataReport::value(const LoggerHeader &header, int index, int row)
{
    const ChannelCalRecord &record = header.channel.at(size_t(index));
    switch (row) {
    case CalFields::ChannelNumber:
        return QString::number(index + 1);
    case CalFields::CalDue:
        return isoDueDate(record.calDue);
    case CalFields::LoggerSerial:
        return header.serialNumber;
    case CalFields::CalType:
        return CalFields::calTypeText(record.calType == 1);
    default:
        return CalFields::recordText(record, row);
    }
}
