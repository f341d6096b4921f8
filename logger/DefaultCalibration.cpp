#include "logger/DefaultCalibration.h"

#include "logger/ChannelCalRecord.h"
#include "logger/FunctionsSubs.h"

namespace {

// 1 January 2005 as a date serial.
const QString DueDate = QStringLiteral("38353.");

struct Values
{
    bool odd;
    float excitation;
    float fullScaleLow;
    float fullScaleHigh;
};

Values valuesOf(int channel, bool millivolts)
{
    const bool odd = channel % 2 == 1;
    return {odd, millivolts ? 5000.0f : 4000.0f, odd ? -100.0f : -50.0f, odd ? 100.0f : 150.0f};
}

QString sci(float value)
{
    return fnSciText(value);
}

CalValue cal(float value)
{
    return {sci(value), value};
}

} // namespace

QStringList DefaultCalibration::lines(int channel, bool millivolts)
{
    const Values v = valuesOf(channel, millivolts);
    return {
        QStringLiteral("141541..Unknown."),
        (v.odd ? QStringLiteral("PSI ") : QStringLiteral("DegF")) + sci(1),
        QStringLiteral("Ch") + QStringLiteral("%1").arg(channel, 2) + sci(0),
        sci(v.excitation) + (millivolts ? QStringLiteral(" mV ") : QStringLiteral(" uA ")),
        sci(0) + QStringLiteral("dum1"),
        sci(1) + QStringLiteral("dum2"),
        DueDate + QStringLiteral("000000xxxx"),
        sci(0) + QStringLiteral("dum3"),
        sci(0) + QStringLiteral("dum4"),
        sci(v.fullScaleLow) + QStringLiteral("dum5"),
        sci(v.fullScaleHigh) + QStringLiteral("dum6"),
        sci(v.fullScaleHigh) + QStringLiteral("dum7"),
        sci(v.fullScaleHigh) + QStringLiteral("dum8"),
        sci(4000) + QStringLiteral("uAmp"),
        sci(0) + QStringLiteral("dumE"),
        sci(4095) + QStringLiteral("dumF"),
    };
}

void DefaultCalibration::apply(ChannelCalRecord &r, int channel, bool millivolts)
{
    const Values v = valuesOf(channel, millivolts);
    r.modelNumber = QStringLiteral("141541..");
    r.serialNumber = QStringLiteral("Unknown.");
    r.engUnits = v.odd ? QStringLiteral("PSI ") : QStringLiteral("DegF");
    r.slope = cal(1);
    r.sensitivity = r.slope;
    r.location = QStringLiteral("Ch") + QStringLiteral("%1").arg(channel, 2);
    r.offset = cal(0);
    r.scExcitation = cal(v.excitation);
    r.excitationUnits = millivolts ? QStringLiteral(" mV ") : QStringLiteral(" uA ");
    r.scOffset = cal(0);
    r.scGain = cal(1);
    r.calDue = QStringLiteral("2005/01/01");
    r.milliAt0 = cal(0);
    r.euAt0 = cal(0);
    r.fsEuAt0 = cal(v.fullScaleLow);
    r.milliAt100 = cal(v.fullScaleHigh);
    r.euAt100 = cal(v.fullScaleHigh);
    r.fsEuAt100 = cal(v.fullScaleHigh);
    r.excitation = cal(4000);
    r.scOutputAt0 = cal(0);
    r.scOutputAt100 = cal(4095);
}
