#pragma once

#include <QString>

// The checks a memory-read reply line must pass before its data is used: its
// length, the checksum of everything between the echoed letter and the
// checksum, and the address it echoes. A pure function of the line, so the
// reader and the fuzz targets judge lines alike.
class ReplyLineCheck
{
public:
    enum class Fault { None, Length, Checksum, Address };

    // The shape of one kind of reply line: the echoed letter, the address,
    // "#", the data, then the two checksum digits.
    struct Form
    {
        QChar letter;
        int lineLength;
        int addressWidth;

        int checksumAt() const { return lineLength - 2; } // 0-based
        int coveredLength() const { return lineLength - 3; }
    };

    // "c" (24 characters, 4-digit address), "a" (40, 4) and "e" (42, 6).
    static const Form Binc;
    static const Form HexHdra;
    static const Form HexDatae;

    // The first check the line fails, in the order length, checksum, address.
    static Fault check(const Form &form, const QString &line, const QString &address);
};
