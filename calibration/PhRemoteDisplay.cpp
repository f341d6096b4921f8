#include "calibration/PhRemoteDisplay.h"

#include "calibration/CalNumbers.h"
#include "logger/ChannelCalRecord.h"
#include "logger/FunctionsSubs.h"

#include <cmath>
#include <limits>

namespace {

const QString CrLf = QStringLiteral("\r\n");
// Channel 1's block is header page 06; the line is its two digits.
constexpr int Channel1Page = 6;
constexpr int SlopeHigh = 0x40;
constexpr int SlopeLow = 0x50;
constexpr int OffsetHigh = 0x60;
constexpr int OffsetLow = 0x70;
constexpr int KeptCharacters = 12;

int lineAddress(int line)
{
    return Channel1Page * 0x100 + line;
}

bool inRange(std::optional<qint16> count)
{
    return count && *count >= 0 && *count <= PhRemoteDisplay::HighestCount;
}

} // namespace

std::optional<qint16> PhRemoteDisplay::count(const QString &boxText)
{
    const double value = CalNumbers::value(boxText);
    if (!std::isfinite(value))
        return std::nullopt;
    // The default rounding mode rounds halves to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

PhRemoteDisplay::Check PhRemoteDisplay::check(std::optional<qint16> ph4Count,
                                              std::optional<qint16> ph7Count)
{
    if (!inRange(ph4Count))
        return Check::Ph4OutOfRange;
    if (!inRange(ph7Count))
        return Check::Ph7OutOfRange;
    if (*ph4Count >= *ph7Count)
        return Check::Reversed;
    return Check::Ok;
}

PhRemoteDisplay::Line PhRemoteDisplay::fromCounts(qint16 ph4Count, qint16 ph7Count)
{
    Line line;
    line.slope = float(PhSpan / double(ph7Count - ph4Count));
    // The product is taken at float precision, as the slope is kept.
    const float rise = float(ph4Count) * line.slope;
    line.offset = float(Ph4 - double(rise));
    return line;
}

PhRemoteDisplay::Line PhRemoteDisplay::fromRecord(const ChannelCalRecord &channel1)
{
    return {channel1.slope.value, channel1.offset.value};
}

std::array<PhRemoteDisplay::LineDigits, 4> PhRemoteDisplay::lines(const Line &line)
{
    const QString slope = fnFloatToHexFP(line.slope);
    const QString offset = fnFloatToHexFP(line.offset);
    return {{{lineAddress(SlopeHigh), slope.left(4)},
             {lineAddress(SlopeLow), slope.mid(4, 4)},
             {lineAddress(OffsetHigh), offset.left(4)},
             {lineAddress(OffsetLow), offset.mid(4, 4)}}};
}

QString PhRemoteDisplay::lineText(const QString &readData, const QString &digits)
{
    return readData.left(KeptCharacters) + digits;
}

PhRemoteDisplay::Message PhRemoteDisplay::message(Check check)
{
    switch (check) {
    case Check::Ph4OutOfRange:
        return {QStringLiteral("pH4 ADC's wrong."),
                QStringLiteral("Values for ADC counts for pH = 4 must be between 0 and 4096")};
    case Check::Ph7OutOfRange:
        return {QStringLiteral("pH7 ADC's wrong."),
                QStringLiteral("Values for ADC counts for pH = 7 must be between 0 and 4096")};
    case Check::Reversed:
        return {QStringLiteral("pH4-7 ADC's reversed."),
                QStringLiteral("Values for ADC counts for pH = 7 and pH 4 are reversed.")};
    case Check::Ok:
        break;
    }
    return {};
}

PhRemoteDisplay::Message PhRemoteDisplay::emptyBoxMessage()
{
    return {QStringLiteral("Ph Data not entered"),
            QStringLiteral("Use Default Perferct sensor is NOT checked, ")
                + QStringLiteral("and No data is entered in Boxes.")};
}

PhRemoteDisplay::Message PhRemoteDisplay::scanPeriodMessage()
{
    return {QStringLiteral("RemDisp ScanInt"),
            QStringLiteral("Remote Display function will not operate properly") + CrLf
                + QStringLiteral("at scan intervals of less than 10 seconds.") + CrLf + CrLf
                + QStringLiteral("Please Correct the specified Scan Interval if required.")};
}

QString PhRemoteDisplay::instructions()
{
    return QStringLiteral("For the Remote Display and Alarm functions to respond correctly,")
        + QStringLiteral("current calibration data for the installed pH sensor must be entered.")
        + QStringLiteral("Otherwise the default calibration for a perfect sensor will be used.") + CrLf
        + QStringLiteral("Either check the 'Use Perfect Sensor calibration' box,") + CrLf
        + QStringLiteral("or enter the ADC Count values for pH 4.01 and 7.00 in the boxes below.");
}
