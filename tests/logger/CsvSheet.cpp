#include "tests/logger/CsvSheet.h"

#include <QRegularExpression>

CsvSheet::CsvSheet(const QStringList &lines)
{
    for (const QString &line : lines)
        m_rows << cells(line);
}

QStringList CsvSheet::cells(const QString &line)
{
    QStringList result;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            result << std::exchange(cell, QString());
        } else {
            cell += c;
        }
    }
    result << cell;
    return result;
}

QString CsvSheet::cell(int row, int column) const
{
    if (row < 1 || row > m_rows.size() || column < 1 || column > m_rows[row - 1].size())
        return QString();
    return m_rows[row - 1][column - 1];
}

namespace {
int columnNumber(const QString &letters)
{
    int n = 0;
    for (QChar c : letters)
        n = n * 26 + (c.unicode() - u'A' + 1);
    return n;
}
} // namespace

std::optional<double> CsvSheet::value(int row, int column) const
{
    const QString text = cell(row, column);
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok)
        return number;
    static const QRegularExpression formula(
        QStringLiteral("^=([A-Z]+)(\\d+)\\*([A-Z]+)\\$(\\d+)\\+([A-Z]+)\\$(\\d+)\\+([A-Z]+)\\$(\\d+)$"));
    const QRegularExpressionMatch m = formula.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    auto at = [this, &m](int letters, int digits) {
        return value(m.captured(digits).toInt(), columnNumber(m.captured(letters)));
    };
    const auto count = at(1, 2), slope = at(3, 4), offset = at(5, 6), tare = at(7, 8);
    if (!count || !slope || !offset || !tare)
        return std::nullopt;
    return *count * *slope + *offset + *tare;
}

int CsvSheet::findRow(const QString &text, int column) const
{
    for (int r = 1; r <= m_rows.size(); ++r)
        if (cell(r, column) == text)
            return r;
    return 0;
}
