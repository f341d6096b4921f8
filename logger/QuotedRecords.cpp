#include "logger/QuotedRecords.h"

#include <QRegularExpression>
#include <QStringDecoder>

QString QuotedRecords::quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QStringList QuotedRecords::lines(const QByteArray &bytes, int maxLines, Encoding encoding)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = encoding == Encoding::Latin1 ? QString::fromLatin1(bytes) : QString(utf8.decode(bytes));
    if (encoding == Encoding::Latin1 && text.startsWith(QStringLiteral("\u00EF\u00BB\u00BF")))
        text.remove(0, 3);
    else if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    static const QRegularExpression endings(QStringLiteral("\r\n|\r|\n"));
    QStringList result = text.split(endings);
    if (result.size() > maxLines)
        result.resize(maxLines);
    return result;
}

// Items are separated by commas outside quotes. Inside quotes "" is one
// quote; a lone quote that does not close the item (a file written by an
// older program that did not double them) is kept as a character.
QStringList QuotedRecords::items(const QString &line)
{
    QStringList result;
    QString item;
    bool inQuotes = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c != u'"') {
                item += c;
            } else if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                item += c;
                ++i;
            } else if (i + 1 == line.size() || line.at(i + 1) == u',') {
                inQuotes = false;
            } else {
                item += c;
            }
        } else if (c == u',') {
            result << (wasQuoted ? item : item.trimmed());
            item.clear();
            wasQuoted = false;
        } else if (c == u'"' && item.trimmed().isEmpty() && !wasQuoted) {
            item.clear();
            inQuotes = true;
            wasQuoted = true;
        } else {
            item += c;
        }
    }
    result << (wasQuoted ? item : item.trimmed());
    return result;
}

