#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// One channel's calibration as the calibration window computes it and saves it
// to the logger: the sensor's two calibration points, the logger's input stage
// and the resulting slope and offset. The presets fill the channel blocks of
// their headers (pages 06-0D, one 16-line page per channel) from these.
struct ChannelCalibration
{
    QString modelNumber;      // 8 characters
    QString serialNumber;     // 8
    QString engUnits;         // 4
    QString location;         // 4
    QString excitationUnits;  // 4, "uAmp" or " mV "
    float scExcitation = 1000;
    float scOffset = 0;
    float scGain = 1;
    QDate calDue;
    float milliAt0 = 0;       // reading at calibration point A
    float euAt0 = 0;
    float fsEuAt0 = 0;
    float milliAt100 = 4000;  // reading at calibration point B
    float euAt100 = 4000;
    float fsEuAt100 = 4000;
    float excitation = 1000;
    int calType = 1;

    // Results of the cal-factor computation (see computeFactors()).
    float slope = 1;
    float offset = 0;
    float scOutputAt0 = 0;
    float scOutputAt100 = 4095;

    // Derives slope, offset and the output range from the two points, with
    // the conditioner output of a reading being
    // reading x logger excitation x gain / sensor excitation + offset.
    void computeFactors();

    // The block's sixteen 16-character lines x00-xF0 as a channel save writes
    // them, the logger's hexadecimal floating-point slope and offset in the
    // trailers of x40-x70.
    QStringList lines() const;

    // The default block the maintenance command writes to a new logger's
    // channel (1-8); mV excitation for models whose name holds "MC".
    static QStringList defaultLines(int channel, const QString &modelVersion);
};
