#include "platform/qt/QtPrinter.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

QtPrinter::QtPrinter(QWidget *parent)
    : m_parent(parent)
    , m_font(QGuiApplication::font())
{
}

QtPrinter::~QtPrinter()
{
    endDoc();
}

QString QtPrinter::availableFamily(const QString &name)
{
    if (QFontDatabase::hasFamily(name))
        return name;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString QtPrinter::fontName() const
{
    return m_font.family();
}

double QtPrinter::fontSize() const
{
    return m_font.pointSizeF();
}

void QtPrinter::setFontName(const QString &name)
{
    m_font.setFamily(availableFamily(name));
    if (m_painter)
        m_painter->setFont(m_font);
}

void QtPrinter::setFontSize(double points)
{
    if (points > 0)
        m_font.setPointSizeF(points);
    if (m_painter)
        m_painter->setFont(m_font);
}

bool QtPrinter::showPrintDialog(const QString &title)
{
    endDoc();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(title);
    if (!m_fileForUnattended.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_fileForUnattended);
        m_printer = std::move(printer);
        return true;
    }
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer: the dialog starts on its PDF file.
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QDir(folder).filePath(title + QStringLiteral(".pdf")));
    }
    QPrintDialog dialog(printer.get(), m_parent);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_printer = std::move(printer);
    return true;
}

void QtPrinter::printToFile(const QString &pdfPath)
{
    m_fileForUnattended = pdfPath;
}

// The painter starts with the first thing printed; without a dialog before,
// on the system's default printer.
bool QtPrinter::begin()
{
    if (m_painter)
        return true;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get())) {
        m_printer.reset();
        return false;
    }
    m_painter = std::move(painter);
    m_painter->setFont(m_font);
    m_line = 0;
    m_column = 1;
    m_pageFull = false;
    return true;
}

void QtPrinter::startPendingPage()
{
    if (!m_pageFull)
        return;
    m_printer->newPage();
    m_line = 0;
    m_column = 1;
    m_pageFull = false;
}

double QtPrinter::charWidth() const
{
    const QFontMetricsF metrics(m_font, m_printer.get());
    const double average = metrics.averageCharWidth();
    return average > 0 ? average : metrics.horizontalAdvance(u'0');
}

double QtPrinter::lineSpacing() const
{
    return QFontMetricsF(m_font, m_printer.get()).lineSpacing();
}

double QtPrinter::pageHeight() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height();
}

void QtPrinter::printAt(int column, const QString &text)
{
    if (!begin())
        return;
    column = qMax(column, 1);
    if (column < m_column)
        newLine();
    startPendingPage();
    const QFontMetricsF metrics(m_font, m_printer.get());
    const QPointF baseline((column - 1) * charWidth(), m_line * lineSpacing() + metrics.ascent());
    m_painter->drawText(baseline, text);
    m_column = column + int(text.size());
}

void QtPrinter::newLine()
{
    if (!begin())
        return;
    startPendingPage();
    ++m_line;
    m_column = 1;
    if ((m_line + 1) * lineSpacing() > pageHeight())
        m_pageFull = true;
}

void QtPrinter::printImage(const QImage &image)
{
    if (!begin())
        return;
    if (m_line > 0 || m_column > 1)
        m_pageFull = true;
    startPendingPage();
    const QRect page = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    const QImage scaled = image.scaled(page.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_painter->drawImage(QPointF(0, 0), scaled);
    m_pageFull = true;
}

void QtPrinter::endDoc()
{
    if (m_painter)
        m_painter->end();
    m_painter.reset();
    m_printer.reset();
}
