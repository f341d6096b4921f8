#pragma once

#include <QString>
#include <optional>

struct ChannelCalRecord;
struct LoggerHeader;

// Turns the 16 data characters of header lines into LoggerHeader fields, as
// the header map lays them out. Junk never fails: hexadecimal fields read as
// fnHexToLong reads them, numbers as far as they are numbers (else 0), date
// serials that are not numbers as invalid dates.
class HeaderDecoder
{
public:
    // The fields of a character line of pages 02-05; 02C0 also derives the
    // memory size. Lines the header read does not interpret change nothing.
    static void applyLine(LoggerHeader &header, int address, const QString &lineData);

    // One line (offset 0x00-0xF0) of a channel's calibration block. The due
    // date is taken after the repair rule of repairedCalDue(); the slope line
    // also sets the sensitivity.
    static void applyChannelLine(ChannelCalRecord &record, int line, const QString &lineData);
    // A block line that could not be read: its quantity becomes 0, text "0".
    static void missingChannelLine(ChannelCalRecord &record, int line);

    // A due date field with ".x" at its sixth character ("40123.xxxxxx"),
    // left by a channel save, comes back as its day number "40123.000000";
    // any other field unchanged.
    static QString repairedCalDue(const QString &field);
    // The due date as "yyyy/mm/dd": a field without "." (blank, erased) is
    // 2010/01/01, as is one that does not start with a date serial.
    static QString calDueDate(const QString &field);

    // Page 0E as read (16 characters a line): the text before the first "^",
    // "@@" made CR LF. Nothing when there is no "^" (the notes stay as they were).
    static std::optional<QString> notesText(const QString &raw);

    // The longest number at the start of the text after leading blanks
    // (sign, digits, point, exponent); 0 when it does not start with one.
    static double numericValue(const QString &text);
};
