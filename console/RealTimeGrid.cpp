#include "console/RealTimeGrid.h"

#include "logger/LoggerHeader.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QTableWidget>

RealTimeGrid::RealTimeGrid(QTableWidget &table)
    : m_table(table)
{
    m_table.setColumnCount(Columns);
    m_table.setRowCount(1);
    m_table.horizontalHeader()->hide();
    m_table.verticalHeader()->hide();
    // The table's own corner button selects everything; it is named for
    // screen readers like every other button.
    m_table.setCornerButtonEnabled(false);
    for (QAbstractButton *corner : m_table.findChildren<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Select All"));
    static const char *const headings[Columns] = {"Sensor Number", "Loc Code", "", "Eng Units",
                                                 "Average", "Max Deviation", "3-Sigma"};
    for (int c = 0; c < Columns; ++c)
        m_table.setItem(0, c, new QTableWidgetItem(QString::fromLatin1(headings[c])));
}

void RealTimeGrid::ensureSize(int channels)
{
    m_table.setRowCount(channels + 1);
    for (int r = 1; r <= channels; ++r)
        for (int c = 0; c < Columns; ++c)
            if (!m_table.item(r, c))
                m_table.setItem(r, c, new QTableWidgetItem());
}

void RealTimeGrid::build(int channels, const LoggerHeader &header, DisplayMode mode)
{
    ensureSize(qMax(channels, 0));
    for (int k = 1; k <= channels; ++k) {
        setCell(k, Sensor, QStringLiteral("Sensor") + QString::number(k).rightJustified(2, u' '));
        const QString location = k <= LoggerHeader::ChannelRecords ? header.channel[size_t(k - 1)].location
                                                                     : QString();
        setCell(k, LocCode, location);
        for (int c : {Average, MaxDeviation, ThreeSigma})
            if (cell(k, Column(c)).isEmpty())
                setCell(k, Column(c), QStringLiteral("0"));
    }
    rebuildUnits(header, mode);
}

void RealTimeGrid::rebuildUnits(const LoggerHeader &header, DisplayMode mode)
{
    for (int k = 1; k <= channels(); ++k)
        setCell(k, Units, unitText(header, k, mode));
}

QString RealTimeGrid::unitText(const LoggerHeader &header, int channel, DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::Counts:
        return QStringLiteral("Counts");
    case DisplayMode::TrueMillivolts:
        return QStringLiteral("True mV");
    case DisplayMode::EngineeringUnits:
        break;
    }
    if (channel < 1 || channel > LoggerHeader::ChannelRecords)
        return {};
    return header.channel[size_t(channel - 1)].engUnits;
}

int RealTimeGrid::channels() const
{
    return m_table.rowCount() - 1;
}

void RealTimeGrid::setCell(int channel, Column column, const QString &text)
{
    if (QTableWidgetItem *item = m_table.item(channel, column))
        item->setText(text);
}

QString RealTimeGrid::cell(int channel, Column column) const
{
    const QTableWidgetItem *item = m_table.item(channel, column);
    return item ? item->text() : QString();
}

void RealTimeGrid::clearValues()
{
    for (int k = 1; k <= channels(); ++k)
        for (int c : {Reading, Average, MaxDeviation, ThreeSigma})
            setCell(k, Column(c), QString());
}

void RealTimeGrid::clearStatistics()
{
    for (int k = 1; k <= channels(); ++k)
        for (int c : {Average, MaxDeviation, ThreeSigma})
            setCell(k, Column(c), QString());
}
