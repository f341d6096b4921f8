#include "logger/FunctionsSubs.h"

#include "platform/EventLoop.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr qint64 kSecsPerDay = 86400;
// 10000-01-01, the first day QDate-based desktop serials no longer cover.
constexpr double kSerialLimit = 2958466.0;
constexpr int kSerialIntegerDigits = 5;

QString hexField(quint32 value, int width)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString text(width, QLatin1Char('0'));
    for (int i = width - 1; i >= 0; --i, value >>= 4)
        text[i] = QLatin1Char(digits[value & 0xF]);
    return text;
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Values the fixed-width forms cannot hold become ones they can, so a header
// field never changes width or carries "inf"/"nan".
float representable(float value)
{
    if (std::isnan(value) || value == 0.0f)
        return 0.0f; // also drops the sign of -0
    if (std::isinf(value))
        return std::copysign(FLT_MAX, value);
    return value;
}

// Printed in the C locale whatever the process locale is.
QString formatted(double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

struct DecimalScientific
{
    quint32 digits; // d.dddddd as the integer ddddddd
    int exponent;
};

// |value| rounded to seven significant digits; a rounding that carries
// (9.9999995 -> 10.000000) moves into the exponent instead.
DecimalScientific toDecimalScientific(float value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(double(value)),
                                   std::chars_format::scientific, 6).ptr;
    DecimalScientific result{0, 0};
    const char *p = buffer;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            result.digits = result.digits * 10 + quint32(*p - '0');
    }
    if (p != end)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), end, result.exponent);
    return result;
}

bool isHexFP(const QString &text)
{
    if (text.size() != 8)
        return false;
    for (const QChar c : text) {
        if (hexDigitValue(c) < 0)
            return false;
    }
    return true;
}

bool isPlainDecimal(const QString &text)
{
    int digits = 0;
    int points = 0;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128)
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

// The date and time a wall clock shows, as a valid QDateTime. Local time
// where the clock shows that reading; a reading the clock skips (the hour
// lost when daylight-saving time begins) keeps its date and time at the
// offset in force before the change, so it neither turns invalid nor moves by
// the length of the gap. A reading the clock shows twice is local time
// either way, with the same date and time.
QDateTime wallClock(const QDate &date, const QTime &time)
{
    const QDateTime local(date, time, Qt::LocalTime);
    if (local.isValid())
        return local;
    // No gap lasts longer than a few hours.
    const QDateTime earlier = QDateTime(date, time, Qt::UTC).addSecs(-3 * 3600);
    const int offset = QDateTime(earlier.date(), earlier.time(), Qt::LocalTime).offsetFromUtc();
    return QDateTime(date, time, Qt::OffsetFromUTC, offset);
}

} // namespace

QString fnHex1(qint16 value) { return hexField(quint16(value), 1); }
QString fnHex2(qint16 value) { return hexField(quint16(value), 2); }
QString fnHex4(qint32 value) { return hexField(quint32(value), 4); }
QString fnHex6(qint32 value) { return hexField(quint32(value), 6); }

quint32 fnHexToLong(const QString &text)
{
    QString digits = text;
    const int prefix = text.indexOf(QLatin1String("&H"), 0, Qt::CaseInsensitive);
    if (prefix >= 0)
        digits = text.mid(prefix + 2, 4);

    quint32 value = 0;
    for (const QChar c : digits) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        const int digit = hexDigitValue(c);
        if (digit < 0)
            break;
        value = (value << 4) | quint32(digit);
    }
    return value;
}

QString fnSciText(float value)
{
    const double v = representable(value);
    QString text = formatted(v, std::chars_format::scientific, 5).toUpper();
    if (v >= 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

QString fnFloatToHexFP(float value)
{
    const float v = representable(value);
    const DecimalScientific decimal = toDecimalScientific(v);

    // One more in the exponent turns d.dddddd into the fraction 0.dddddd.
    const int exponent = decimal.exponent + 1;
    int exponentByte = exponent < 0 ? -exponent + 64 : exponent;
    if (v < 0)
        exponentByte += 128;

    // The logger's fraction is the float's leading 24 bits, truncated.
    const float m = float(double(decimal.digits) / 1e7);
    float x = m * 256.0f;
    const int byte1 = int(x);
    x = (x - float(byte1)) * 256.0f;
    const int byte2 = int(x);
    x = (x - float(byte2)) * 256.0f;
    const int byte3 = int(x);

    return hexField(quint32(exponentByte), 2) + hexField(quint32(byte1), 2)
           + hexField(quint32(byte2), 2) + hexField(quint32(byte3), 2);
}

std::optional<float> fnHexFPToFloat(const QString &hexFP)
{
    const QString text = hexFP.trimmed();
    if (!isHexFP(text))
        return std::nullopt;

    const quint32 exponentByte = fnHexToLong(text.left(2));
    const quint32 mantissa = fnHexToLong(text.mid(2));
    int exponent = int(exponentByte & 0x3F);
    if (exponentByte & 0x40)
        exponent = -exponent;

    double v = double(mantissa) / 16777216.0 * std::pow(10.0, exponent);
    v = std::min(v, double(FLT_MAX));
    if (exponentByte & 0x80)
        v = -v;
    return float(v);
}

QString fnHexFPToText(const QString &hexFP)
{
    const std::optional<float> value = fnHexFPToFloat(hexFP);
    if (!value)
        return QString();

    QString number = formatted(double(*value), std::chars_format::fixed, 8);
    if (number == QLatin1String("-0.00000000"))
        number.remove(0, 1);
    return QLatin1Char(' ') + number + QLatin1Char(' ');
}

QByteArray wireBytes(const QString &text)
{
    QByteArray bytes(text.size(), '?');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        if (code <= 0xFF)
            bytes[i] = char(code);
    }
    return bytes;
}

QString fnChecksum(const QString &text)
{
    quint32 sum = 0;
    for (const char c : wireBytes(text))
        sum += quint8(c);
    return hexField(sum & 0xFF, 2);
}

quint16 fnSetBit(quint16 value, int bit)
{
    if (bit < 0 || bit > 15)
        return value;
    return quint16(value | (1u << bit));
}

quint16 fnClearBit(quint16 value, int bit)
{
    const quint16 lowByte = value & 0xFF;
    if (bit < 0 || bit > 7)
        return lowByte;
    return quint16(lowByte & ~(1u << bit));
}

qint64 scanNumberAt(qint64 pointer, int wordsPerScan)
{
    if (wordsPerScan <= 0)
        return 0;
    const qint64 bytesPerScan = 2 * qint64(wordsPerScan);
    const qint64 magnitude = (2 * std::abs(pointer) + bytesPerScan) / (2 * bytesPerScan);
    return pointer < 0 ? -magnitude : magnitude;
}

double fnDateToSerial(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    const qint64 days = QDate(1899, 12, 30).daysTo(dateTime.date());
    if (days < 0)
        return 0.0;
    const qint64 secs = dateTime.time().msecsSinceStartOfDay() / 1000;
    return double(days * kSecsPerDay + secs) / double(kSecsPerDay);
}

QDateTime fnSerialToDate(double serial)
{
    if (!(serial >= 0.0 && serial < kSerialLimit))
        return QDateTime();
    const qint64 secs = std::llround(serial * double(kSecsPerDay));
    return wallClock(QDate(1899, 12, 30).addDays(secs / kSecsPerDay),
                     QTime(0, 0).addSecs(int(secs % kSecsPerDay)));
}

QString fnSerialText(double serial, int decimals)
{
    decimals = std::clamp(decimals, 0, 9);
    const qint64 scale = qint64(std::llround(std::pow(10.0, decimals)));
    const qint64 largest = qint64(std::llround(std::pow(10.0, kSerialIntegerDigits))) * scale - 1;

    qint64 scaled = 0;
    if (serial > 0.0) { // also false for NaN
        const double product = serial * double(scale);
        scaled = product >= double(largest) ? largest : qint64(std::llround(product));
    }

    const QString whole = QStringLiteral("%1").arg(scaled / scale, kSerialIntegerDigits, 10,
                                                   QLatin1Char('0'));
    if (decimals == 0)
        return whole;
    return whole + QLatin1Char('.')
           + QStringLiteral("%1").arg(scaled % scale, decimals, 10, QLatin1Char('0'));
}

QString fnDateToSerialText(const QDateTime &dateTime)
{
    return fnSerialText(fnDateToSerial(dateTime));
}

QDateTime fnSerialTextToDate(const QString &text)
{
    const QString number = text.trimmed();
    if (!isPlainDecimal(number))
        return QDateTime();
    bool ok = false;
    const double serial = number.toDouble(&ok);
    return ok ? fnSerialToDate(serial) : QDateTime();
}

void subWait(EventLoop &loop, const bool &commAbort, float seconds)
{
    if (!(seconds > 0.0f))
        return;
    const qint64 start = loop.elapsedNs();
    const double waitNs = double(seconds) * 1e9;
    const qint64 maxNs = std::numeric_limits<qint64>::max();
    const qint64 deadline = waitNs >= double(maxNs - start) ? maxNs : start + qint64(waitNs);

    while (!commAbort && loop.elapsedNs() < deadline)
        loop.yieldUntil(deadline);
}
