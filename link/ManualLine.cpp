#include "link/ManualLine.h"

#include <QRegularExpression>

namespace {

QString filled(const QString &text, const QString &filler, int length)
{
    return (text + filler).left(length);
}

std::optional<ManualLine> line(const QString &letter, const std::optional<QString> &address,
                               const QString &data)
{
    if (!address)
        return std::nullopt;
    return ManualLine{letter, *address, data, qint16(data.size())};
}

} // namespace

std::optional<QString> ManualLine::addressOf(const QString &field, int digits)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]+$"));
    const QString text = (QString(digits, QLatin1Char('0')) + field.trimmed()).right(digits);
    if (!hex.match(text).hasMatch())
        return std::nullopt;
    return text.toUpper();
}

std::optional<QString> ManualLine::nextAddress(const QString &field, int digits)
{
    const std::optional<QString> current = addressOf(field, digits);
    if (!current)
        return std::nullopt;
    const quint64 range = quint64(1) << (4 * digits);
    const quint64 next = (current->toULongLong(nullptr, 16) + 16) % range;
    return QStringLiteral("%1").arg(next, digits, 16, QLatin1Char('0')).toUpper();
}

std::optional<ManualLine> ManualLine::dataWrite(const QString &addressField, const QString &text)
{
    static const QString filler = QString(16, QLatin1Char(' ')) + QString(32, QLatin1Char('.'));
    return line(QStringLiteral("f"), addressOf(addressField, 6), filled(text, filler, 32));
}

std::optional<ManualLine> ManualLine::headerTextWrite(const QString &addressField, const QString &text)
{
    return line(QStringLiteral("d"), addressOf(addressField, 4),
                filled(text, QString(16, QLatin1Char('.')), 16));
}

std::optional<ManualLine> ManualLine::headerHexWrite(const QString &addressField, const QString &text)
{
    return line(QStringLiteral("b"), addressOf(addressField, 4),
                filled(text, QString(32, QLatin1Char('.')), 32));
}
