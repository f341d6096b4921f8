#pragma once

#include <QString>
#include <optional>

// The factory page's hand-made commands: what its fields become on the wire.
// Addresses are taken from the right of the field after padding with zeros,
// and bodies are filled and cut to the command's fixed length, so whatever a
// technician typed the logger gets a well-formed command, or none when the
// address is not hexadecimal.
struct ManualLine
{
    QString letter;
    QString address;
    QString data;
    qint16 length = 0;

    // "f": 32 characters of data memory at a 6-digit address, the text
    // filled with blanks and dots.
    static std::optional<ManualLine> dataWrite(const QString &addressField, const QString &text);
    // "d": 16 characters of header text at a 4-digit address, filled with dots.
    static std::optional<ManualLine> headerTextWrite(const QString &addressField, const QString &text);
    // "b": 32 hexadecimal characters at a 4-digit header address, filled with dots.
    static std::optional<ManualLine> headerHexWrite(const QString &addressField, const QString &text);

    // The field's address, padded with zeros on the left and cut to its last
    // digits; nothing when that is not hexadecimal.
    static std::optional<QString> addressOf(const QString &field, int digits);
    // The address 16 bytes on ("Next"), in as many digits; nothing when the
    // field is not hexadecimal. Wraps at the end of the address range.
    static std::optional<QString> nextAddress(const QString &field, int digits);
};
