#pragma once

#include <QString>

class Printer;

// Every report prints in this fixed-pitch font. The font in force before is
// kept and put back when the object goes, which is after the document has
// been ended, whichever way the report returns.
class ReportFont
{
public:
    static const QString Name;
    static constexpr double Size = 10;

    explicit ReportFont(Printer &printer);
    ~ReportFont();
    ReportFont(const ReportFont &) = delete;
    ReportFont &operator=(const ReportFont &) = delete;

private:
    Printer &m_printer;
    QString m_savedName;
    double m_savedSize;
};
