#include "reports/ReportFont.h"

#include "platform/Printer.h"

const QString ReportFont::Name = QStringLiteral("Courier 10,12,15");

ReportFont::ReportFont(Printer &printer)
    : m_printer(printer)
    , m_savedName(printer.fontName())
    , m_savedSize(printer.fontSize())
{
    m_printer.setFontName(Name);
    m_printer.setFontSize(Size);
}

ReportFont::~ReportFont()
{
    // The name first: a new name may bring its own size.
    m_printer.setFontName(m_savedName);
    m_printer.setFontSize(m_savedSize);
}
