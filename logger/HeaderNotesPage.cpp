#include "logger/HeaderNotesPage.h"

#include "logger/HeaderMap.h"

QStringList HeaderNotesPage::lines(const QString &notes)
{
    QString text = notes;
    // The notes box breaks lines with LF alone; the logger keeps CR LF as "@@".
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("@@"));
    text.truncate(HeaderMap::NotesLines * LineChars);
    QStringList lines;
    for (qsizetype at = 0; at < text.size(); at += LineChars)
        lines << text.mid(at, LineChars).leftJustified(LineChars, QLatin1Char('^'));
    while (lines.size() < HeaderMap::NotesLines)
        lines << QString(LineChars, QLatin1Char('^'));
    return lines;
}
