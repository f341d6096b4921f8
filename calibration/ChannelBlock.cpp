#include "calibration/ChannelBlock.h"

#include "calibration/CalFields.h"
#include "calibration/CalNumbers.h"
#include "logger/ChannelCalRecord.h"
#include "logger/FunctionsSubs.h"

namespace {

const QString Blanks4 = QStringLiteral("    ");

// The numbers of a block in line order, with the field they come from.
struct Number
{
    int field;
    double ChannelBlock::*member;
};

constexpr Number Numbers[] = {
    {19, &ChannelBlock::slope},        {20, &ChannelBlock::offset},
    {16, &ChannelBlock::scExcitation}, {17, &ChannelBlock::scOffset},
    {18, &ChannelBlock::scGain},       {7, &ChannelBlock::milliAt0},
    {8, &ChannelBlock::euAt0},         {9, &ChannelBlock::fsEuAt0},
    {11, &ChannelBlock::milliAt100},   {12, &ChannelBlock::euAt100},
    {13, &ChannelBlock::fsEuAt100},    {10, &ChannelBlock::excitation},
    {21, &ChannelBlock::scOutputAt0},  {22, &ChannelBlock::scOutputAt100},
};

} // namespace

ChannelBlock ChannelBlock::fromBoxes(const CalBoxes &boxes)
{
    ChannelBlock block;
    block.source = Source::Window;
    block.modelNumber = boxes[4];
    block.serialNumber = boxes[5];
    block.engUnits = boxes[6];
    block.location = boxes[14];
    block.excitationUnits = boxes[3];
    block.calDue = boxes[2];
    for (const Number &n : Numbers)
        block.*n.member = CalNumbers::value(boxes[n.field]);
    block.calType = boxes.twoPoint ? 1 : 0;
    block.scOutputAt0Text = boxes[21];
    block.scOutputAt100Text = boxes[22];
    return block;
}

ChannelBlock ChannelBlock::fromRecord(const ChannelCalRecord &record)
{
    ChannelBlock block;
    block.source = Source::Record;
    block.modelNumber = record.modelNumber;
    block.serialNumber = record.serialNumber;
    block.engUnits = record.engUnits;
    block.location = record.location;
    block.excitationUnits = record.excitationUnits;
    block.calDue = record.calDue;
    for (const Number &n : Numbers)
        block.*n.member = CalNumbers::value(CalFields::recordText(record, n.field));
    block.calType = record.calType;
    return block;
}

std::optional<QStringList> ChannelBlock::lines() const
{
    std::optional<QString> sci[std::size(Numbers)];
    for (std::size_t i = 0; i < std::size(Numbers); ++i) {
        const std::optional<float> value = CalNumbers::toFloat(this->*Numbers[i].member);
        if (!value)
            return std::nullopt;
        sci[i] = fnSciText(*value);
    }
    const std::optional<QDate> due = CalNumbers::dueDate(calDue);
    const std::optional<QString> day = due ? CalNumbers::dayNumberText(*due) : std::nullopt;
    if (!day)
        return std::nullopt;

    const bool window = source == Source::Window;
    const QString slopeHex = fnFloatToHexFP(float(slope));
    const QString offsetHex = fnFloatToHexFP(float(offset));
    const auto pad = CalFields::pad;
    const QString digit = QString::number(calType).right(1);
    return QStringList{
        pad(modelNumber, 8) + pad(serialNumber, 8),
        pad(engUnits, 4) + *sci[0],
        pad(location, 4) + *sci[1],
        *sci[2] + pad(excitationUnits, 4),
        *sci[3] + (window ? slopeHex.left(4) : Blanks4),
        *sci[4] + (window ? slopeHex.mid(4) : Blanks4),
        *day + QStringLiteral("000000") + (window ? offsetHex.left(4) : QStringLiteral("xxxx")),
        *sci[5] + (window ? offsetHex.mid(4) : Blanks4),
        *sci[6] + Blanks4,
        *sci[7] + Blanks4,
        *sci[8] + Blanks4,
        *sci[9] + digit + QStringLiteral("   "),
        *sci[10] + Blanks4,
        *sci[11] + pad(excitationUnits, 4),
        *sci[12] + (window ? pad(scOutputAt0Text, 4) : Blanks4),
        *sci[13] + (window ? pad(scOutputAt100Text, 4) : Blanks4),
    };
}

void ChannelBlock::applyTo(ChannelCalRecord &record) const
{
    record.modelNumber = CalFields::pad(modelNumber, 8);
    record.serialNumber = CalFields::pad(serialNumber, 8);
    record.engUnits = CalFields::pad(engUnits, 4);
    record.location = CalFields::pad(location, 4);
    record.excitationUnits = CalFields::pad(excitationUnits, 4);
    record.calDue = calDue;
    record.calType = qint16(calType);
    for (const Number &n : Numbers) {
        const float value = CalNumbers::toFloat(this->*n.member).value_or(0.0f);
        *CalFields::quantity(record, n.field) = {fnSciText(value), value};
    }
}

QStringList ChannelBlock::factoryDefaults(int channel, bool millivolts)
{
    const QString dum3 = QStringLiteral("dum3");
    const QString zero = fnSciText(0.0f);
    const QString fourThousand = fnSciText(4000.0f);
    return QStringList{
        QStringLiteral("..None....None.."),
        QStringLiteral(" mV ") + fnSciText(1.0f),
        QStringLiteral("Ch") + QStringLiteral("%1").arg(channel, 2, 10, QLatin1Char(' ')) + zero,
        fnSciText(1000.0f) + (millivolts ? QStringLiteral(".mV.") : QStringLiteral(".uA.")),
        fnSciText(1000.0f) + QStringLiteral("dum2"),
        fnSciText(1.0f) + dum3,
        *CalNumbers::dayNumberText(QDate(2000, 1, 1)) + QStringLiteral("000000xxxx"),
        zero + dum3,
        zero + dum3,
        zero + dum3,
        fourThousand + dum3,
        fourThousand + dum3,
        fourThousand + dum3,
        zero + dum3,
        zero + QStringLiteral("xxxE"),
        fnSciText(4095.0f) + QStringLiteral("yyyF"),
    };
}

void ChannelBlock::applyFactoryValues(ChannelCalRecord &record)
{
    record.scGain.value = 1.0f;
    for (CalValue *zero : {&record.milliAt0, &record.euAt0, &record.fsEuAt0, &record.excitation,
                           &record.scOutputAt0})
        zero->value = 0.0f;
    for (CalValue *top : {&record.milliAt100, &record.euAt100, &record.fsEuAt100})
        top->value = 4000.0f;
    record.scOutputAt100.value = 4095.0f;
}

std::optional<int> ChannelBlock::progressAfter(int line)
{
    if (line == 15)
        return 7;
    if (line % 2 == 1 && line <= 11)
        return (line + 1) / 2;
    return std::nullopt;
}
