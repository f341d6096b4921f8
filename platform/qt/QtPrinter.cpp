#include "platform/qt/QtPrinter.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QPrintDialog>
#include <QPrinterInfo>

QtPrinter::QtPrinter(QWidget *parent)
    : m_parent(parent)
{
}

QtPrinter::~QtPrinter()
{
    endDoc();
}

bool QtPrinter::setup(const QString &title)
{
    endDoc();
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setDocName(title);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const QString file = QFileDialog::getSaveFileName(m_parent, title, QString(),
                                                          QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty())
            return false;
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(file);
        return true;
    }
    QPrintDialog dialog(m_printer.get(), m_parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinter::setFont(const QString &family, double pointSize)
{
    m_font = QFont(family, 10);
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPointSizeF(pointSize);
    if (m_painter)
        m_painter->setFont(m_font);
}

bool QtPrinter::begin()
{
    if (m_painter)
        return true;
    if (!m_printer)
        return false;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        return false;
    }
    m_painter->setFont(m_font);
    m_y = lineHeight();
    return true;
}

int QtPrinter::lineHeight() const
{
    return QFontMetrics(m_font, m_printer.get()).lineSpacing();
}

void QtPrinter::printAt(int column, const QString &text)
{
    if (!begin())
        return;
    const QFontMetrics metrics(m_font, m_printer.get());
    m_painter->drawText(column * metrics.horizontalAdvance(u'0'), m_y, text);
}

void QtPrinter::newLine()
{
    if (!begin())
        return;
    m_y += lineHeight();
    if (m_y > m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height())
        newPage();
}

void QtPrinter::newPage()
{
    if (!begin())
        return;
    m_printer->newPage();
    m_y = lineHeight();
}

void QtPrinter::printImage(const QImage &image)
{
    if (!begin())
        return;
    const QRect page = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    const QImage scaled = image.scaled(page.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_painter->drawImage(0, 0, scaled);
    newPage();
}

void QtPrinter::endDoc()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}
