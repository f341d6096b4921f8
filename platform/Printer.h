#pragma once

#include <QString>

class QImage;

// A page printer driven line by line at character columns, as the reports are laid out.
class Printer
{
public:
    virtual ~Printer() = default;

    // Asks the operator where to print; false when cancelled.
    virtual bool setup(const QString &title) = 0;
    virtual void setFont(const QString &family, double pointSize) = 0;
    // Places text on the current line starting at a character column (0-based).
    virtual void printAt(int column, const QString &text) = 0;
    virtual void newLine() = 0;
    virtual void newPage() = 0;
    // Prints an image of a window on a page of its own.
    virtual void printImage(const QImage &image) = 0;
    virtual void endDoc() = 0;
};
