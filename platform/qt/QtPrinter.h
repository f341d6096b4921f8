#pragma once

#include "platform/Printer.h"

#include <QFont>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

// Prints on the printer the operator picks in the system's print dialog, or
// into a PDF file, which the dialog offers (and picks first when the PC has
// no printer). Text items go to character columns of the font's average
// character width; lines run down the page and on to the next.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QWidget *parent = nullptr);
    ~QtPrinter() override;

    QString fontName() const override;
    double fontSize() const override;
    void setFontName(const QString &name) override;
    void setFontSize(double points) override;
    bool showPrintDialog(const QString &title) override;
    void printAt(int column, const QString &text) override;
    void newLine() override;
    void printImage(const QImage &image) override;
    void endDoc() override;

    // The window the print dialog stands over.
    void setParentWindow(QWidget *parent) { m_parent = parent; }
    // Prints into this PDF file from now on, without asking: for unattended use.
    void printToFile(const QString &pdfPath);

    // The family used for a name: itself when the system has it, else its
    // fixed-pitch font.
    static QString availableFamily(const QString &name);

private:
    bool begin();
    void startPendingPage();
    double charWidth() const;
    double lineSpacing() const;
    double pageHeight() const;

    QWidget *m_parent;
    QString m_fileForUnattended;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    // The line on the page and the first free column on it.
    int m_line = 0;
    int m_column = 1;
    bool m_pageFull = false;
};
