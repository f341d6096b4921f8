// All-channel calibration files (the Cal Data tab's Load and Save), applied to
// a finished preset logger's header. Properties: only the logger's channel
// blocks change; the header written as a file and read into the same logger
// gives the same records and serial number.
#include "calibration/CalNumbers.h"
#include "calibration/CalibrationFile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/HeaderImage.h"
#include "sim/LoggerPresets.h"

namespace {

LoggerHeader presetHeader()
{
    const LoggerImage image =
        LoggerPresets::build(LoggerPreset::Finished, QDateTime(QDate(2026, 6, 1), QTime(10, 0), Qt::UTC));
    return HeaderImage::decode(image.header);
}

// A due date loaded from a file keeps the file's "yyyy-mm-dd", one read from
// the logger is "yyyy/mm/dd": the same date either way.
LoggerHeader sameDueDates(LoggerHeader header)
{
    for (ChannelCalRecord &record : header.channel)
        if (const std::optional<QDate> due = CalNumbers::dueDate(record.calDue))
            record.calDue = due->toString(Qt::ISODate);
    return header;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const LoggerHeader preset = presetHeader();
    LoggerHeader loaded = preset;
    if (!CalibrationFile::readAllChannels(FuzzCheck::bytes(data, size), loaded))
        return 0;
    for (size_t c = size_t(preset.channelBlocks()); c < preset.channel.size(); ++c) {
        const QString d = HeaderImage::difference(preset.channel[c], loaded.channel[c]);
        FuzzCheck::require(d.isEmpty(), "channels the logger lacks stay", d);
    }
    const CalibrationFile::Stamp stamp{QStringLiteral("Monday, 1 June 2026"), QStringLiteral("10:00:00")};
    const QByteArray written = CalibrationFile::allChannelText(
        loaded, QStringLiteral("/tmp/cal.txt"), QStringLiteral("Z820"), QStringLiteral("notes"), stamp);
    LoggerHeader again = preset;
    FuzzCheck::require(CalibrationFile::readAllChannels(written, again), "written file reads");
    const QString d = HeaderImage::difference(sameDueDates(loaded), sameDueDates(again));
    FuzzCheck::require(d.isEmpty(), "written file gives the same header", d);
    return 0;
}
