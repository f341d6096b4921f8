#pragma once

#include "platform/Printer.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <memory>

class QWidget;

// Prints to a real printer, or to a PDF file when the PC has none.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QWidget *parent = nullptr);
    ~QtPrinter() override;

    bool setup(const QString &title) override;
    void setFont(const QString &family, double pointSize) override;
    void printAt(int column, const QString &text) override;
    void newLine() override;
    void newPage() override;
    void printImage(const QImage &image) override;
    void endDoc() override;

private:
    bool begin();
    int lineHeight() const;

    QWidget *m_parent;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font{QStringLiteral("Courier New"), 10};
    int m_y = 0;
};
