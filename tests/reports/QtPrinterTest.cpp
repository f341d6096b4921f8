#include "platform/qt/QtPrinter.h"
#include "reports/CalSettingsReport.h"
#include "calibration/CalFields.h"
#include "tests/support/QStringPrinter.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A family the system lacks becomes its fixed-pitch font; one it has stays.
TEST(QtPrinter, NearestFixedPitchFont)
{
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    EXPECT_EQ(QtPrinter::availableFamily(QStringLiteral("No Such Font 10,12,15")), fixed);
    const QStringList families = QFontDatabase::families();
    if (!families.isEmpty())
        EXPECT_EQ(QtPrinter::availableFamily(families.first()), families.first());

    QtPrinter printer;
    const QString before = printer.fontName();
    printer.setFontName(QStringLiteral("No Such Font 10,12,15"));
    printer.setFontSize(10);
    EXPECT_EQ(printer.fontName(), fixed);
    EXPECT_EQ(printer.fontSize(), 10);
    printer.setFontName(before);
    EXPECT_EQ(printer.fontName(), QtPrinter::availableFamily(before));
}

// A report and a window image end up in a PDF file.
TEST(QtPrinter, PrintsIntoAPdfFile)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QtPrinter printer;
    printer.printToFile(pdf);
    CalBoxes boxes;
    boxes[1] = QStringLiteral("1");
    ASSERT_TRUE(CalSettingsReport::print(printer, boxes, QDateTime(QDate(2011, 9, 23), QTime(10, 0))));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    file.close();
    ASSERT_TRUE(QFile::remove(pdf));

    ASSERT_TRUE(printer.showPrintDialog(QStringLiteral("Image")));
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::blue);
    printer.printImage(image);
    printer.endDoc();
    EXPECT_TRUE(QFile::exists(pdf));
}
