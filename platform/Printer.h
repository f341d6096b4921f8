#pragma once

#include <QString>

class QImage;

// The page printer, driven as a line printer: text items placed at character
// columns of the font in force, line by line, then the document ended.
//
// Columns count from 1, as tab stops do: column 1 is the left edge of the
// printable area and text at column n starts n - 1 character widths to its
// right. Text placed at a column left of where the current line's text
// already ends goes to that column of the next line: items never overprint.
// One item is one line of text; a line break inside it is not honoured.
class Printer
{
public:
    virtual ~Printer() = default;

    // The font in force: the name the printer actually uses (the nearest
    // font it has when the one asked for does not exist) and the size in points.
    virtual QString fontName() const = 0;
    virtual double fontSize() const = 0;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;

    // The system's print dialog with this title, where the operator picks the
    // printer (or a file); false when the operator cancels.
    virtual bool showPrintDialog(const QString &title) = 0;

    virtual void printAt(int column, const QString &text) = 0;
    // Ends the current line; the next item goes to the line below.
    virtual void newLine() = 0;
    // An image (a window) scaled to the page width, on a page of its own.
    virtual void printImage(const QImage &image) = 0;
    // Ends the document: the pages printed so far are sent.
    virtual void endDoc() = 0;
};
