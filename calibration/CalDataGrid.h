#pragma once

#include <QString>

class QTableWidget;
struct LoggerHeader;

// The Cal Data tab's grid: row 0 holds the headings (so row r is channel r),
// one row per installed channel below it, filled from the header's records.
class CalDataGrid
{
public:
    static constexpr int Columns = 12;
    // Rows 1-8 open a channel.
    static constexpr int LastChannelRow = 8;

    // Sets the widths and writes every cell; cell colours are kept, so a
    // highlighted row stays highlighted across refills.
    static void fill(QTableWidget &grid, const LoggerHeader &header);
    // Column 0 of row in light green, or back in the button face colour.
    static void highlight(QTableWidget &grid, int row, bool on);

    static QString heading(int column);
    // The cell text of channel 1-8's row.
    static QString cell(const LoggerHeader &header, int channel, int column);
    // Widths are given in twips: 15 to the pixel at 96 dots per inch.
    static int widthPixels(int column);
    // The calibration points' columns 8-11 belong to the "-2" models only.
    static bool showsCalPoints(const LoggerHeader &header);

private:
    static void setText(QTableWidget &grid, int row, int column, const QString &text);
};
