#pragma once

#include "calibration/CalibrationLog.h"
#include "calibration/ChannelBlock.h"
#include "calibration/ChannelBlockWriter.h"

#include <QDate>
#include <QList>
#include <functional>
#include <optional>

class CommandTransport;
struct LinkState;
struct LoggerHeader;

// Writes the calibration blocks of all installed channels from the header's
// records. Every channel's lines are made before the first is sent, so a
// value that cannot be written leaves the logger as it was.
class AllChannelsWriter
{
public:
    struct Planned
    {
        int index = 0;
        ChannelBlock block;
        QStringList lines;
    };

    struct Progress
    {
        // Channel index 0-7 about to be written.
        std::function<void(int index)> channelStarting;
        // 1-7 after the lines that move the progress bar.
        std::function<void(int value)> progressed;
    };

    struct Result
    {
        // The address of the line the logger did not take, if one failed.
        std::optional<int> failedAddress;
        // The channels written whole, with their records before and after.
        QList<CalibrationLog::Entry> written;
    };

    // The blocks of the installed channels; an empty due date becomes the
    // date two days after today. Nothing when a value cannot be written.
    static std::optional<QList<Planned>> compose(const LoggerHeader &header, const QDate &today);

    AllChannelsWriter(CommandTransport &transport, LinkState &state);

    // Writes the planned channels in order, stopping at the first failed
    // line; each channel written whole is put into the header's record.
    Result write(LoggerHeader &header, const QList<Planned> &plan, const Progress &progress);

private:
    ChannelBlockWriter m_writer;
};
