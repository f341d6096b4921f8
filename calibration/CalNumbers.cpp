#include "calibration/CalNumbers.h"

#include "logger/HeaderDecoder.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

double CalNumbers::value(const QString &text)
{
    return HeaderDecoder::numericValue(text);
}

std::optional<double> CalNumbers::strictValue(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double result = text.trimmed().toDouble();
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

std::optional<float> CalNumbers::toFloat(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(value);
}

namespace {

QString general(double value, int digits)
{
    if (value == 0.0)
        return QStringLiteral("0");
    const int exponent = int(std::floor(std::log10(std::fabs(value))));
    QString text;
    if (exponent < -5 || exponent >= digits) {
        text = QString::number(value, 'E', digits - 1);
        // Trailing zeros of the mantissa go, and the exponent keeps two digits.
        const qsizetype e = text.indexOf(QLatin1Char('E'));
        QString mantissa = text.left(e);
        if (mantissa.contains(QLatin1Char('.'))) {
            while (mantissa.endsWith(QLatin1Char('0')))
                mantissa.chop(1);
            if (mantissa.endsWith(QLatin1Char('.')))
                mantissa.chop(1);
        }
        text = mantissa + text.mid(e);
    } else {
        text = QString::number(value, 'g', digits);
    }
    return text;
}

} // namespace

QString CalNumbers::generalText(float value)
{
    return general(double(value), 7);
}

QString CalNumbers::generalText(double value)
{
    return general(value, 15);
}

QString CalNumbers::scientificPicture(double value)
{
    // Qt writes at least two exponent digits, as the picture does.
    return QString::number(value, 'E', 5);
}

std::optional<QDate> CalNumbers::dueDate(const QString &text)
{
    static const QRegularExpression date(QStringLiteral("^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = date.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate result(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!result.isValid())
        return std::nullopt;
    return result;
}

QString CalNumbers::defaultDueDate(const QDate &today)
{
    return today.addDays(2).toString(QStringLiteral("yyyy/MM/dd"));
}

std::optional<QString> CalNumbers::dayNumberText(const QDate &date)
{
    const qint64 days = QDate(1899, 12, 30).daysTo(date);
    if (!date.isValid() || days < 0 || days > 99999)
        return std::nullopt;
    return QStringLiteral("%1.").arg(days, 5, 10, QLatin1Char('0'));
}
