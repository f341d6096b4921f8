#pragma once

#include <QString>

// The cells of the download's comma-separated file.
namespace CsvText {

// A text cell in double quotes. Quotes inside are doubled and line breaks
// become blanks, so no text can shift the columns or rows; a text that a
// spreadsheet would run as a formula (first character =, +, -, @, tab or
// carriage return) is led by an apostrophe, as spreadsheet makers advise.
QString quoted(const QString &text);

// Spreadsheet column letters of a 1-based column number: 1 "A", 27 "AA".
QString columnLetters(int column);

// The engineering-unit formula of a data row: the count cell of this row
// times the slope cell, plus the offset and tare cells, those three in the
// formula's own column at fixed rows (offset = slope row + 1, tare = slope
// row - 1): "=C12*F$9+F$10+F$8".
QString engineeringFormula(int countColumn, int ownColumn, int row, int slopeRow);

// "Low Clip" at count 0, "High Clip" at 4095 and above, else the formula.
QString engineeringCell(int count, int countColumn, int ownColumn, int row, int slopeRow);

} // namespace CsvText
