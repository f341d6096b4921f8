#pragma once

#include "logger/DisplayMode.h"

#include <QString>

class QTableWidget;
struct LoggerHeader;

// The real-time grid MFgRealTime: a heading row, then one row per installed
// channel with its name, location code, reading, unit and statistics.
class RealTimeGrid
{
public:
    enum Column { Sensor, LocCode, Reading, Units, Average, MaxDeviation, ThreeSigma, Columns };

    explicit RealTimeGrid(QTableWidget &table);

    // Headings and the fixed columns for `channels` rows; the value cells of
    // rows that stay keep their text.
    void build(int channels, const LoggerHeader &header, DisplayMode mode);
    // The unit column after a change of display mode.
    void rebuildUnits(const LoggerHeader &header, DisplayMode mode);
    int channels() const;
    void setCell(int channel, Column column, const QString &text);
    QString cell(int channel, Column column) const;
    // Empties the reading and the statistics of every channel.
    void clearValues();
    // Empties the statistics columns only.
    void clearStatistics();

    static QString unitText(const LoggerHeader &header, int channel, DisplayMode mode);

private:
    void ensureSize(int channels);

    QTableWidget &m_table;
};
