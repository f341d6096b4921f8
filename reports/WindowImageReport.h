#pragma once

#include <QString>

class Printer;
class QImage;

// An image of a window on a page of its own.
class WindowImageReport
{
public:
    static const QString Title;

    // False, with nothing printed, when the operator cancels the print dialog.
    static bool print(Printer &printer, const QImage &image);
};
