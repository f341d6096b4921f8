#include "calibration/CalDataGrid.h"

#include "calibration/CalNumbers.h"
#include "logger/LoggerHeader.h"

#include <QColor>
#include <QTableWidget>

namespace {

struct Column
{
    int twips;
    const char *heading;
};

constexpr Column Layout[CalDataGrid::Columns] = {
    {600, "Ch #"},       {1000, "Model #"},   {1000, "Sensor #"}, {1500, "Slope"},
    {1500, "Offset"},    {625, "Units"},      {750, "Loc"},       {1200, "Cal Date (y-m-d)"},
    {1000, "Cal 1 Val"}, {750, "Cal 1 EU"},   {1000, "Cal 2 Val"}, {750, "Cal 2 EU"},
};

constexpr int TwipsPerPixel = 15;
constexpr int FirstCalPointColumn = 8;
const QColor Highlight(192, 255, 192);

// The due date with the picture "yyyy-mm-dd"; a text that is no date is shown as it stands.
QString dueDateText(const QString &calDue)
{
    const std::optional<QDate> date = CalNumbers::dueDate(calDue.trimmed());
    return date ? date->toString(QStringLiteral("yyyy-MM-dd")) : calDue;
}

} // namespace

QString CalDataGrid::heading(int column)
{
    return QString::fromLatin1(Layout[column].heading);
}

int CalDataGrid::widthPixels(int column)
{
    return qRound(double(Layout[column].twips) / TwipsPerPixel);
}

bool CalDataGrid::showsCalPoints(const LoggerHeader &header)
{
    return header.modelVersion.contains(QStringLiteral("-2"));
}

QString CalDataGrid::cell(const LoggerHeader &header, int channel, int column)
{
    const ChannelCalRecord &record = header.channel.at(channel - 1);
    switch (column) {
    case 0: return QStringLiteral("Ch ") + QString::number(channel);
    case 1: return record.modelNumber;
    case 2: return record.serialNumber;
    case 3: return record.slope.text;
    case 4: return record.offset.text;
    case 5: return record.engUnits;
    case 6: return record.location;
    case 7: return dueDateText(record.calDue);
    // Nothing sets the calibration points' values: the value cells show 0.
    case 8:
    case 10: return QStringLiteral("0");
    default: return QString();
    }
}

void CalDataGrid::fill(QTableWidget &grid, const LoggerHeader &header)
{
    const int channels = header.channelBlocks();
    grid.setColumnCount(Columns);
    grid.setRowCount(channels + 1);
    const int shownColumns = showsCalPoints(header) ? Columns : FirstCalPointColumn;
    for (int column = 0; column < Columns; ++column) {
        grid.setColumnWidth(column, widthPixels(column));
        const bool shown = column < shownColumns;
        setText(grid, 0, column, shown ? heading(column) : QString());
        for (int channel = 1; channel <= channels; ++channel)
            setText(grid, channel, column, shown ? cell(header, channel, column) : QString());
    }
}

void CalDataGrid::highlight(QTableWidget &grid, int row, bool on)
{
    QTableWidgetItem *item = grid.item(row, 0);
    if (!item)
        return;
    item->setBackground(on ? Highlight : grid.palette().color(QPalette::Button));
}

void CalDataGrid::setText(QTableWidget &grid, int row, int column, const QString &text)
{
    QTableWidgetItem *item = grid.item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        // The grid shows; the calibration window edits.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid.setItem(row, column, item);
    }
    item->setText(text);
}
