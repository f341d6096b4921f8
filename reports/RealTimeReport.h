#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Printer;

// The real-time readings on paper or in a text file: the operator's notes,
// the reading count and the real-time grid as it stands, headings first.
class RealTimeReport
{
public:
    static const QString Title;
    // Every grid cell is right-aligned in this many characters on paper.
    static constexpr int CellWidth = 16;

    struct Contents
    {
        QString notes;
        QString count;
        // The grid's rows, the headings row first.
        QList<QStringList> rows;
    };

    // The whole print in the report font; false, with nothing printed, when
    // the operator cancels the print dialog.
    static bool print(Printer &printer, const Contents &contents, const QDateTime &now);
    static void layOut(Printer &printer, const Contents &contents, const QDateTime &now);
    // The text file: every item quoted, items separated by tabs, each
    // record ended by CR LF.
    static QByteArray fileText(const Contents &contents, const QDateTime &now);
    // One grid row as printed.
    static QString printedRow(const QStringList &cells, bool headings);
};
