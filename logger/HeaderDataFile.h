#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The header data file: a text image of a logger's whole header memory, a
// marker record and then one record per header line in address order, each
// the line's address (four hexadecimal digits) and its data: 32 hexadecimal
// digits for lines 0000-01F0, 16 characters for 0200-0FF0. These are pure
// functions over text; reading checks every record before anything is
// written, so a damaged file can never send a line outside the header.
class HeaderDataFile
{
public:
    static const QString Marker;
    static constexpr int HexLinesEnd = 0x0200;
    static constexpr int HeaderEnd = 0x1000;
    static constexpr int MaxLines = 1000;

    struct Record
    {
        int address = 0;
        QString text;
    };

    // What the load does with a record.
    enum class Check {
        Hex,        // 32 hexadecimal digits, written with "b"
        Text,       // 16 characters, written with "d"
        BadLength,  // neither: the operator is asked whether to fix it
    };

    // Why a file cannot be loaded at all.
    enum class Problem { None, WrongMarker, BadAddress, NotHexDigits, DuplicateAddress, NoRecords };

    struct Parsed
    {
        Problem problem = Problem::None;
        // The record at fault, for the message.
        QString badAddress;
        QString badText;
        QList<Record> records;
    };

    static QByteArray text(const QList<Record> &records);
    static Parsed parse(const QByteArray &bytes);
    static Check check(const Record &record);
    // The text a record of the wrong length is replaced by.
    static QString fixedText() { return QStringLiteral("0123456789012345"); }
    // The addresses of a whole header in file order.
    static QList<int> addresses();
};
