#pragma once

#include "logger/download/DownloadColumns.h"

#include <QDateTime>
#include <QStringList>

struct CalValue;
struct LoggerHeader;

// The block at the top of a download's comma-separated file: the logger's
// identity and test, then one row per calibration quantity with a cell per
// active column. The data rows' formulas refer to its "Slope:", "Offset:"
// and "TARE:" rows.
struct CsvHeaderBlock
{
    // What the block shows besides the header.
    struct Inputs
    {
        DownloadColumns columns;
        quint32 calInterval = 0;
        // The PC's offset from UTC now, whole hours.
        int presentOffsetHours = 0;
    };

    QStringList lines;
    // What it was built with.
    Inputs inputs;
    // Index in lines of the "Slope:" row.
    int slopeLine = 0;

    static CsvHeaderBlock build(const LoggerHeader &header, const Inputs &inputs);

    // The date-time text of the file's cells.
    static QString dateTimeText(const QDateTime &dateTime);
    // A slope or offset as the block shows it: the stored text, or the
    // value when the text is empty.
    static QString calText(const CalValue &value);
    // Seconds as "hh:mm:ss" (hours past 99 keep their digits).
    static QString durationText(quint32 seconds);
};
