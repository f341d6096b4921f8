#pragma once

#include "logger/download/DownloadColumns.h"

#include <QList>
#include <QString>
#include <QStringList>

struct LoggerHeader;

// One active column of the tidy file: its names, and the calibration its
// engineering values are computed with, taken from the same slope and offset
// texts the comma-separated file's formulas use.
struct TidyColumn
{
    int column = 0;
    // 1-8: the channel whose calibration the column uses; 0 none.
    int channel = 0;
    // "ch3", or "ch2 max" / "ch2 min" for the monitor columns.
    QString tag;
    QString location;
    QString model;
    QString serial;
    QString units;
    QString calDue;
    QString slopeText = QStringLiteral("1");
    QString offsetText = QStringLiteral("0");
    double slope = 1.0;
    double offset = 0.0;

    QString countName() const { return tag + QStringLiteral(" count"); }
    // "ch1 Pump (psi)"; "ch1 value" without location and units.
    QString valueName() const;
    QString clipName() const { return tag + QStringLiteral(" clip"); }
    // The count, engineering value and clip flag of a reading; -1 (not
    // read): three empty cells. Clipped readings have no value.
    QStringList cells(int count) const;

    // The active columns in column order, from the header's calibration as
    // it stands when the comma-separated file's header block is built.
    static QList<TidyColumn> list(const LoggerHeader &header, const DownloadColumns &columns);
};
