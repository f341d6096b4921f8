#pragma once

#include <QStringList>
#include <optional>

// A comma-separated file read back the way a spreadsheet reads it: quoted
// cells unquoted, and the engineering-unit formulas computed from the cells
// they name.
class CsvSheet
{
public:
    explicit CsvSheet(const QStringList &lines);

    static QStringList cells(const QString &line);
    int rowCount() const { return int(m_rows.size()); }
    // Row and column 1-based, as the spreadsheet numbers them.
    QString cell(int row, int column) const;
    // The value of a cell: its number, or what its formula "=C12*F$9+F$10+F$8"
    // computes; nothing for text.
    std::optional<double> value(int row, int column) const;
    // The first row whose cell in the column is the text, 1-based; 0 when none.
    int findRow(const QString &text, int column = 1) const;

private:
    QList<QStringList> m_rows;
};
