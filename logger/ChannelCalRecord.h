#pragma once

#include <QString>

// A calibration quantity as the logger stores it: the 12-character signed
// scientific text of the channel block (what the windows show and what is
// written back) and its numeric value.
struct CalValue
{
    QString text;
    float value = 0.0f;
};

// One channel's calibration block (header page 06 + channel index) as last
// read or written. Text fields keep the width they have in the block.
struct ChannelCalRecord
{
    QString modelNumber;      // 8, x00
    QString serialNumber;     // 8, x00
    QString engUnits;         // 4, x10
    CalValue slope;           // x10, engineering units per converter count
    QString location;         // 4, x20
    CalValue offset;          // x20, engineering units at count 0
    CalValue scExcitation;    // x30, excitation the logger generates
    QString excitationUnits;  // 4, x30 (xD0 repeats it)
    CalValue scOffset;        // x40, conditioner input offset, millivolts
    CalValue scGain;          // x50
    QString calDue;           // x60, "yyyy/mm/dd"
    CalValue milliAt0;        // x70, reading at calibration point A
    CalValue euAt0;           // x80
    CalValue fsEuAt0;         // x90, lowest value the channel must record
    CalValue milliAt100;      // xA0, reading at calibration point B
    CalValue euAt100;         // xB0
    qint16 calType = 0;       // xB0, 1: two-point calibration, 0: sensitivity
    CalValue fsEuAt100;       // xC0, highest value the channel must record
    CalValue excitation;      // xD0, excitation the sensor was calibrated with
    CalValue scOutputAt0;     // xE0, lowest value the channel can report
    CalValue scOutputAt100;   // xF0, highest value the channel can report
    // Not stored in the logger: the header read sets it to the slope, the
    // cal-factor computation replaces it.
    CalValue sensitivity;
};
