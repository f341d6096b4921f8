#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's text files of quoted records (calibration files, header data
// files): one record a line, items separated by commas, a text item between
// double quotes with a double quote inside it written twice. Reading is
// lenient, so files written by older programs, which did not double quotes,
// still read.
class QuotedRecords
{
public:
    static QString quoted(const QString &text);
    // One line's items: quotes removed, "" read as one quote, unquoted items
    // trimmed.
    static QStringList items(const QString &line);
    enum class Encoding { Utf8OrLatin1, Latin1 };
    // The text of a file as at most maxLines lines: UTF-8 when it is valid
    // UTF-8, otherwise (or always, for files of logger bytes) Latin-1; a
    // byte-order mark dropped; CR LF, LF or CR endings.
    static QStringList lines(const QByteArray &bytes, int maxLines,
                             Encoding encoding = Encoding::Utf8OrLatin1);
};
