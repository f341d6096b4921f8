// One-channel calibration files (the calibration window's Save and Recall).
// Properties: a file that reads gives only boxes of fields 2-23; the window's
// boxes written as a file and read again give the same boxes and type, and
// that file is a fixed point.
#include "calibration/CalFields.h"
#include "calibration/CalibrationFile.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<CalibrationFile::SingleChannel> read =
        CalibrationFile::readSingleChannel(FuzzCheck::bytes(data, size));
    if (!read)
        return 0;
    CalBoxes boxes;
    for (const auto &[number, text] : read->boxes) {
        FuzzCheck::require(number >= CalFields::CalDue && number < CalFields::CalType,
                           "boxes of fields 2-23 only", QString::number(number));
        boxes[number] = text;
    }
    boxes.twoPoint = read->twoPoint.value_or(false);
    const CalibrationFile::Stamp stamp{QStringLiteral("Monday, 1 June 2026"), QStringLiteral("10:00:00")};
    const QByteArray written = CalibrationFile::singleChannelText(boxes, stamp);
    const std::optional<CalibrationFile::SingleChannel> again = CalibrationFile::readSingleChannel(written);
    FuzzCheck::require(again.has_value(), "written file reads", QString::fromUtf8(written));
    for (int number = CalFields::CalDue; number < CalFields::CalType; ++number) {
        const auto it = again->boxes.find(number);
        FuzzCheck::require(it != again->boxes.end() && it->second == boxes[number],
                           "box reads back", QString::number(number) + u' ' + boxes[number]);
    }
    FuzzCheck::require(again->twoPoint == boxes.twoPoint, "calibration type reads back");
    CalBoxes second;
    for (const auto &[number, text] : again->boxes)
        second[number] = text;
    second.twoPoint = *again->twoPoint;
    FuzzCheck::require(CalibrationFile::singleChannelText(second, stamp) == written,
                       "written file is a fixed point");
    return 0;
}
