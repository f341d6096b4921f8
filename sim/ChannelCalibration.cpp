#include "sim/ChannelCalibration.h"

#include "logger/FunctionsSubs.h"

namespace {

QString pad(const QString &text, int width)
{
    return text.leftJustified(width, ' ', true);
}

// Day number of a date, as the calibration due date is stored ("ddddd.").
QString dayNumber(const QDate &date)
{
    return fnSerialText(fnDateToSerial(QDateTime(date, QTime(0, 0))), 0).left(5) + '.';
}

float conditionerOutput(const ChannelCalibration &c, float reading)
{
    if (c.excitation == 0)
        return 0;
    return reading * c.scExcitation * c.scGain / c.excitation + c.scOffset;
}

} // namespace

void ChannelCalibration::computeFactors()
{
    const float outA = conditionerOutput(*this, milliAt0);
    const float outB = conditionerOutput(*this, milliAt100);
    slope = outA == outB ? 0.0f : (euAt0 - euAt100) / (outA - outB);
    offset = euAt0 - slope * outA;
    scOutputAt0 = offset;
    scOutputAt100 = float(4095.0 * slope + offset);
}

QStringList ChannelCalibration::lines() const
{
    const QString slopeFP = fnFloatToHexFP(slope);
    const QString offsetFP = fnFloatToHexFP(offset);
    const QString blanks(4, ' ');
    return {
        pad(modelNumber, 8) + pad(serialNumber, 8),
        pad(engUnits, 4) + fnSciText(slope),
        pad(location, 4) + fnSciText(offset),
        fnSciText(scExcitation) + pad(excitationUnits, 4),
        fnSciText(scOffset) + slopeFP.left(4),
        fnSciText(scGain) + slopeFP.right(4),
        dayNumber(calDue) + "000000" + offsetFP.left(4),
        fnSciText(milliAt0) + offsetFP.right(4),
        fnSciText(euAt0) + blanks,
        fnSciText(fsEuAt0) + blanks,
        fnSciText(milliAt100) + blanks,
        fnSciText(euAt100) + QString::number(calType) + "   ",
        fnSciText(fsEuAt100) + blanks,
        fnSciText(excitation) + pad(excitationUnits, 4),
        fnSciText(scOutputAt0) + pad(QString::number(scOutputAt0, 'g', 7), 4),
        fnSciText(scOutputAt100) + pad(QString::number(scOutputAt100, 'g', 7), 4),
    };
}

QStringList ChannelCalibration::defaultLines(int channel, const QString &modelVersion)
{
    const bool odd = channel % 2 == 1;
    const QString full = fnSciText(odd ? 100 : 150);
    const QString excitation = modelVersion.contains("MC") ? fnSciText(5000) + " mV "
                                                           : fnSciText(4000) + " uA ";
    return {
        "141541..Unknown.",
        QString(odd ? "PSI " : "DegF") + fnSciText(1),
        QStringLiteral("Ch%1").arg(channel, 2) + fnSciText(0),
        excitation,
        fnSciText(0) + "dum1",
        fnSciText(1) + "dum2",
        dayNumber(QDate(2005, 1, 1)) + "000000xxxx",
        fnSciText(0) + "dum3",
        fnSciText(0) + "dum4",
        fnSciText(odd ? -100 : -50) + "dum5",
        full + "dum6",
        full + "dum7",
        full + "dum8",
        fnSciText(4000) + "uAmp",
        fnSciText(0) + "dumE",
        fnSciText(4095) + "dumF",
    };
}
