#include "logger/FactoryFields.h"

#include "logger/EventCapture.h"
#include "logger/LoggerHeader.h"

namespace {

// Kilobits of the memory-type list entry for each code.
int kilobitsOfCode(int code)
{
    return code >= 0 && code <= 5 ? 128 << code : 0;
}

QString numberText(float value)
{
    return QString::number(double(value));
}

QString volts(quint32 milliVolts)
{
    return QString::number(milliVolts / 1000.0, 'f', 3);
}

} // namespace

FactoryFields factoryFieldsFromHeader(const LoggerHeader &h)
{
    FactoryFields f;
    f.modelVersion = h.modelVersion;
    f.serialNumber = h.serialNumber;
    f.firmwareVersion = h.firmwareVersion;
    f.memoryInstalledHex = h.memoryInstalledHex;
    f.installedChannels = h.installedChannels;
    f.adResolution = h.adResolution;
    f.engineId = h.engineId;
    f.sigConId = h.sigConId;
    f.engineSn = h.engineSn;
    f.sigConSn = h.sigConSn;
    f.memoryChips = h.memoryChips;
    f.memoryTypeCode = h.memoryTypeCode;
    f.memoryTypeKilobits = kilobitsOfCode(h.memoryTypeCode);
    f.controllerId = h.controllerId;
    f.tcoreSlope = numberText(h.tcoreSlope);
    f.tcoreOffset = numberText(h.tcoreOffset);
    f.startPointer = QStringLiteral("000000");
    return f;
}

void takeReferences(FactoryFields &fields, const LiveBlockValues &live)
{
    if (live.referenceLowMilliVolts.hex.isEmpty() || live.referenceHighMilliVolts.hex.isEmpty())
        return;
    fields.referenceLow = volts(live.referenceLowMilliVolts.value);
    fields.referenceHigh = volts(live.referenceHighMilliVolts.value);
}
