#pragma once

#include <QString>

// A port settings text "rate,parity,databits,stopbits" taken apart.
struct PortSettings
{
    int baud = 9600;
    QChar parity = u'N';
    int dataBits = 8;
    int stopBits = 1;

    // Returns false and leaves *out untouched when the text is not of that form.
    static bool parse(const QString &text, PortSettings *out);
    QString toString() const;

    // The rate a stored Logger_Baud asks for: its own text when it is one,
    // else "9600,N,8,1". A stored 4800 is also read as 9600, a rate no
    // logger of the family runs at.
    static QString storedLoggerBaud(const QString &stored);
};
