#include "reports/WindowImageReport.h"

#include "platform/Printer.h"

#include <QImage>

const QString WindowImageReport::Title = QStringLiteral("Data Logger Window");

bool WindowImageReport::print(Printer &printer, const QImage &image)
{
    if (!printer.showPrintDialog(Title))
        return false;
    printer.printImage(image);
    printer.endDoc();
    return true;
}
