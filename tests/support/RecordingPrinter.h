#pragma once

#include "platform/Printer.h"

#include <QImage>
#include <QSize>
#include <QStringList>
#include <vector>

// A printer for tests: the print dialogs are answered from the test's
// script and every ended document is kept as its laid-out text lines, each
// item placed at its column as the Printer contract says. Blanks at the end
// of a line do not show on paper and are not kept.
class RecordingPrinter : public Printer
{
public:
    struct Document
    {
        // The title of the print dialog before it; empty without one.
        QString title;
        // The font in force when the document was ended.
        QString fontName;
        double fontSize = 0;
        QStringList lines;
        std::vector<QSize> images;
    };

    // The answer of every print dialog from now on: true prints, false cancels.
    bool acceptDialog = true;
    QStringList dialogTitles;
    std::vector<Document> documents;

    QString fontName() const override { return m_fontName; }
    double fontSize() const override { return m_fontSize; }
    void setFontName(const QString &name) override { m_fontName = name; }
    void setFontSize(double points) override { m_fontSize = points; }

    bool showPrintDialog(const QString &title) override
    {
        dialogTitles << title;
        if (acceptDialog)
            m_current.title = title;
        return acceptDialog;
    }

    void printAt(int column, const QString &text) override
    {
        const int start = qMax(column, 1) - 1;
        if (m_line.size() > start)
            newLine();
        m_line = m_line.leftJustified(start, u' ') + text;
        m_open = true;
    }

    void newLine() override
    {
        m_current.lines << stripped(m_line);
        m_line.clear();
        m_open = false;
    }

    void printImage(const QImage &image) override { m_current.images.push_back(image.size()); }

    void endDoc() override
    {
        if (m_open)
            newLine();
        m_current.fontName = m_fontName;
        m_current.fontSize = m_fontSize;
        documents.push_back(m_current);
        m_current = Document();
    }

    // The lines of the only document printed.
    QStringList lines() const { return documents.size() == 1 ? documents.front().lines : QStringList(); }

private:
    static QString stripped(QString line)
    {
        while (line.endsWith(u' '))
            line.chop(1);
        return line;
    }

    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 12;
    Document m_current;
    QString m_line;
    bool m_open = false;
};
