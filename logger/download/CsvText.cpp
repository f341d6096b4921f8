#include "logger/download/CsvText.h"

#include "logger/download/DataWords.h"

namespace CsvText {

QString quoted(const QString &text)
{
    QString cell = text;
    cell.replace(QLatin1String("\r\n"), QLatin1String(" "));
    const bool formulaLike = !cell.isEmpty()
        && QStringLiteral("=+-@\t\r").contains(cell.front());
    cell.replace(u'\r', u' ').replace(u'\n', u' ');
    cell.replace(QLatin1String("\""), QLatin1String("\"\""));
    if (formulaLike)
        cell.prepend(u'\'');
    return u'"' + cell + u'"';
}

QString columnLetters(int column)
{
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString engineeringFormula(int countColumn, int ownColumn, int row, int slopeRow)
{
    const QString own = columnLetters(ownColumn);
    return QStringLiteral("=%1%2*%3$%4+%3$%5+%3$%6")
        .arg(columnLetters(countColumn))
        .arg(row)
        .arg(own)
        .arg(slopeRow)
        .arg(slopeRow + 1)
        .arg(slopeRow - 1);
}

QString engineeringCell(int count, int countColumn, int ownColumn, int row, int slopeRow)
{
    if (count == 0)
        return QStringLiteral("Low Clip");
    if (count >= DataWords::HighClip)
        return QStringLiteral("High Clip");
    return engineeringFormula(countColumn, ownColumn, row, slopeRow);
}

} // namespace CsvText
