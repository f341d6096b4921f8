#include "calibration/CalFields.h"

#include "logger/ChannelCalRecord.h"

#include <algorithm>

namespace {

constexpr std::array<CalFields::Field, CalFields::Count> Table = {{
    {1, " 1: Sensor Num       ", "TxtSensorNum", "Channel number :", "SensorNum", 0},
    {2, " 2: Cal Due Date     ", "TxtCalDueDate", "Next Cal Due", "CalDueDate", 0},
    {3, " 3: Exc EU           ", "txtExcEU", "Excitation EU (uAmp/mV)", "ExcEU", 4},
    {4, " 4: Model Num        ", "txtModelNum", "Model #:", "ModelNum", 8},
    {5, " 5: Serial Num       ", "TxtSerialNum", "S/N", "SerialNum", 8},
    {6, " 6: Eng Units        ", "TxtEngUnits", "Eng. Units", "EngUnits", 4},
    {7, " 7: Milli at 0       ", "TxtMilliat0", "ADCounts at A", "Milliat0", 12},
    {8, " 8: EU at 0          ", "TxtEUat0", "EU at A", "EUat0", 12},
    {9, " 9: FSEU at 0        ", "TxtFSEUat0", "MIN Full Scale EU", "FSEUat0", 12},
    {10, "10: Excite           ", "TxtExcite", "Excitation (uA/mV)", "Excite", 12},
    {11, "11: Milli at 100     ", "TxtMilliat100", "ADCounts at B", "Milliat100", 12},
    {12, "12: EU at 100        ", "TxtEUat100", "EU at B", "EUat100", 12},
    {13, "13: FSEU at 100      ", "TxtFSEUat100", "MAX Full Scale EU", "FSEUat100", 12},
    {14, "14: Loc Code         ", "txtLocCode", "LocCode:", "LocCode", 4},
    {15, "15: DL Serial Num    ", "TxtDLSerialNum", "S/N", "DLSerialNum", 8},
    {16, "16: SC exite         ", "TxtSCexite", "Excitiation (uA/mV)", "SCexite", 12},
    {17, "17: SC Offset        ", "TxtSCOffset", "Offset (MilliVolts)", "SCOffset", 12},
    {18, "18: SC Gain          ", "TxtSCGain", "Gain", "SCGain", 12},
    {19, "19: Logger Slope     ", "TxtLoggerSlope", "Slope", "LoggerSlope", 12},
    {20, "20: Logger Offset    ", "TxtLoggerOffset", "Offset", "LoggerOffset", 12},
    {21, "21: SC Output at 0   ", "TxtSCOutputat0", "Minimum EU Output", "SCOutputat0", 12},
    {22, "22: SC Output at 100 ", "TxtSCOutputat100", "Maximum EU Output", "SCOutputat100", 12},
    {23, "23: Sensitivity      ", "TxtSensitivity", "Sensitivity (EU/mv)", "Sensitivity", 12},
    {24, "24: Cal Type, point B", "chkCalType", " Check for 2-point cal", "CalType", 0},
}};

template <typename Record>
auto *quantityOf(Record &r, int number)
{
    switch (number) {
    case 7: return &r.milliAt0;
    case 8: return &r.euAt0;
    case 9: return &r.fsEuAt0;
    case 10: return &r.excitation;
    case 11: return &r.milliAt100;
    case 12: return &r.euAt100;
    case 13: return &r.fsEuAt100;
    case 16: return &r.scExcitation;
    case 17: return &r.scOffset;
    case 18: return &r.scGain;
    case 19: return &r.slope;
    case 20: return &r.offset;
    case 21: return &r.scOutputAt0;
    case 22: return &r.scOutputAt100;
    case 23: return &r.sensitivity;
    default: return static_cast<decltype(&r.slope)>(nullptr);
    }
}

template <typename Record>
auto *textOf(Record &r, int number)
{
    switch (number) {
    case 2: return &r.calDue;
    case 3: return &r.excitationUnits;
    case 4: return &r.modelNumber;
    case 5: return &r.serialNumber;
    case 6: return &r.engUnits;
    case 14: return &r.location;
    default: return static_cast<decltype(&r.calDue)>(nullptr);
    }
}

} // namespace

std::span<const CalFields::Field> CalFields::all()
{
    return Table;
}

const CalFields::Field &CalFields::field(int number)
{
    return Table.at(std::clamp(number, 1, Count) - 1);
}

QString CalFields::label(int number)
{
    return QString::fromLatin1(field(number).label);
}

int CalFields::numberOfLabel(const QString &label)
{
    for (const Field &f : Table) {
        if (label == QLatin1String(f.label))
            return f.number;
    }
    return 0;
}

QString CalFields::calTypeText(bool twoPoint)
{
    return twoPoint ? QStringLiteral("2-point cal, 2nd point") : QStringLiteral("DBST sensitivity");
}

QString CalFields::recordText(const ChannelCalRecord &record, int number)
{
    if (const CalValue *value = quantity(record, number))
        return value->text;
    if (const QString *text = textOf(record, number))
        return *text;
    return {};
}

void CalFields::setRecordText(ChannelCalRecord &record, int number, const QString &text)
{
    const int width = field(number).width;
    const QString fitted = width > 0 ? pad(text, width) : text;
    if (CalValue *value = quantity(record, number))
        value->text = fitted;
    else if (QString *target = textOf(record, number))
        *target = fitted;
}

CalValue *CalFields::quantity(ChannelCalRecord &record, int number)
{
    return quantityOf(record, number);
}

const CalValue *CalFields::quantity(const ChannelCalRecord &record, int number)
{
    return quantityOf(record, number);
}

QString CalFields::pad(const QString &text, int width)
{
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}
