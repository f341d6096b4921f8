#pragma once

// The logger's number forms: fixed-width hexadecimal fields, date serials,
// signed scientific text, the logger's hexadecimal floating point and the
// line checksum. Every layer that reads or writes header text or protocol
// lines converts through these, so they are free functions without state.
// None of them fails or throws on bad input; each says below what it makes
// of text or values it cannot represent.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

class EventLoop;

// Low-order hexadecimal digits of the two's-complement value, upper case and
// zero-padded to 1, 2, 4 or 6 characters; wider values keep the low digits,
// so fnHex2(-1) is "FF".
QString fnHex1(qint16 value);
QString fnHex2(qint16 value);
QString fnHex4(qint32 value);
QString fnHex6(qint32 value);

// Unsigned value of hexadecimal text. When the text holds "&H" (or "&h"),
// only the (at most four) characters after the first one are read. Blanks
// are skipped, reading stops at the first other non-hex character, and text
// without digits is 0. More than eight digits keep the low-order 32 bits.
quint32 fnHexToLong(const QString &text);

// 12 characters "+d.dddddE+xx", always signed; zero (either sign) is
// "+0.00000E+00". Exact ties round half to even. Infinities saturate to the
// largest float and NaN writes as zero, so the field keeps its width.
QString fnSciText(float value);

// The logger's 8-digit hexadecimal floating point "EEMMMMMM": exponent byte
// (bit 7 value negative, bit 6 exponent negative, bits 0-5 its magnitude)
// and a 24-bit binary fraction 0.1 <= m < 1, truncated. Zero (either sign)
// and NaN are "01000000"; infinities saturate to the largest float. Every
// finite float has a decimal exponent within -44..39, well inside six bits.
QString fnFloatToHexFP(float value);

// Decoded value of an 8-digit hexadecimal floating point (surrounding blanks
// allowed, either letter case), as a 32-bit float; nothing when the text is
// not eight hex digits. Values beyond the float range saturate to the
// largest float.
std::optional<float> fnHexFPToFloat(const QString &hexFP);

// The decoded value as " ###0.00000000 ": a blank, the sign directly before
// the first digit when negative, at least one integer digit, eight decimals
// and a blank (" -0.50000000 "). A value that prints as zero carries no
// sign. Empty when the argument is not eight hex digits.
QString fnHexFPToText(const QString &hexFP);

// The bytes a text goes out as: one 8-bit code per character. The logger
// knows nothing beyond Latin-1, so any other character (a unit such as "Ω" or
// "€" typed by an operator) is sent as "?"; each UTF-16 unit counts as one
// character, as the fixed-width fields count them.
QByteArray wireBytes(const QString &text);

// Sum of the wire bytes of the text (wireBytes) modulo 256, as two upper-case
// hex digits, so the checksum always covers what is really sent.
QString fnChecksum(const QString &text);

// x with bit n set; bit numbers outside 0-15 leave x unchanged.
quint16 fnSetBit(quint16 value, int bit);
// x with bit n cleared, limited to the low eight bits; bit numbers outside
// 0-7 clear nothing but the high byte.
quint16 fnClearBit(quint16 value, int bit);

// The scan a data-memory pointer has reached: the pointer over the bytes of
// one scan (two per data word), to the nearest whole scan with halves away
// from zero, as the scan figures are printed. 0 without data words.
qint64 scanNumberAt(qint64 pointer, int wordsPerScan);

// Date serials: days since 1899-12-30 00:00 with the time of day as the
// fraction of a day, on the wall clock of the QDateTime. Only whole seconds
// count, and reading rounds to the nearest second, so a time written with six
// decimals (about 0.09 s resolution) reads back as the same second.
//
// An invalid date, or one before the epoch, is serial 0 (the epoch).
double fnDateToSerial(const QDateTime &dateTime);
// Local date and time of a serial; invalid for NaN, negative serials and
// serials past the year 9999. A serial is a wall-clock reading: one whose
// time the local clock skips at a daylight-saving change keeps its date and
// time (at the offset in force before the change) rather than turning
// invalid or moving an hour, so it converts back to the same serial.
QDateTime fnSerialToDate(double serial);
// The serial printed "00000.000000" (five integer digits and the given
// number of decimals), clamped into what the field can hold (0 to 99999.99...)
// so that a header field never changes width.
QString fnSerialText(double serial, int decimals = 6);
QString fnDateToSerialText(const QDateTime &dateTime);
// Reads a serial field. Surrounding blanks are allowed; anything but a plain
// unsigned decimal number (blank fields, junk, signs) gives an invalid
// QDateTime rather than the epoch, so callers can tell "no date" from 1899.
QDateTime fnSerialTextToDate(const QString &text);

// Pauses for the given seconds of elapsed (monotonic) time, letting port,
// timer and window events run, and returns at once when commAbort is or
// becomes set. Zero, negative and NaN durations return without waiting.
void subWait(EventLoop &loop, const bool &commAbort, float seconds);
