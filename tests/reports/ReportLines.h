#pragma once

#include "reports/ReportText.h"

#include <QString>
#include <initializer_list>
#include <utility>

// One printed line as the tests expect it: each text starting at its
// 1-based column, the blanks at the end dropped.
inline QString columns(std::initializer_list<std::pair<int, QString>> items)
{
    QString line;
    for (const auto &[column, text] : items)
        line = line.leftJustified(column - 1, u' ') + text;
    while (line.endsWith(u' '))
        line.chop(1);
    return line;
}

// The date at one column and the time at another; a time column the date
// reaches puts the time on the next line.
inline QStringList dateAndTime(const QDateTime &now, int dateColumn, int timeColumn)
{
    const QString date = ReportText::longDate(now);
    const QString time = ReportText::longTime(now);
    if (dateColumn + date.size() <= timeColumn)
        return {columns({{dateColumn, date}, {timeColumn, time}})};
    return {columns({{dateColumn, date}}), columns({{timeColumn, time}})};
}
