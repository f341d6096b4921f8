#include "calibration/AllChannelsWriter.h"

#include "calibration/CalNumbers.h"
#include "logger/LoggerHeader.h"

std::optional<QList<AllChannelsWriter::Planned>> AllChannelsWriter::compose(const LoggerHeader &header,
                                                                          const QDate &today)
{
    QList<Planned> plan;
    for (int index = 0; index < header.channelBlocks(); ++index) {
        ChannelCalRecord record = header.channel.at(index);
        if (record.calDue.trimmed().isEmpty())
            record.calDue = CalNumbers::defaultDueDate(today);
        Planned planned{index, ChannelBlock::fromRecord(record), {}};
        const std::optional<QStringList> lines = planned.block.lines();
        if (!lines)
            return std::nullopt;
        planned.lines = *lines;
        plan.append(planned);
    }
    return plan;
}

AllChannelsWriter::AllChannelsWriter(CommandTransport &transport, LinkState &state)
    : m_writer(transport, state)
{
}

AllChannelsWriter::Result AllChannelsWriter::write(LoggerHeader &header, const QList<Planned> &plan,
                                                   const Progress &progress)
{
    Result result;
    for (const Planned &planned : plan) {
        if (progress.channelStarting)
            progress.channelStarting(planned.index);
        result.failedAddress = m_writer.write(planned.index, planned.lines, [&progress](int line) {
            const std::optional<int> value = ChannelBlock::progressAfter(line);
            if (value && progress.progressed)
                progress.progressed(*value);
        });
        if (result.failedAddress)
            return result;
        ChannelCalRecord &record = header.channel.at(planned.index);
        CalibrationLog::Entry entry{planned.index + 1, header.channelInLogger.at(planned.index), {}};
        planned.block.applyTo(record);
        entry.after = record;
        header.channelInLogger.at(planned.index) = record;
        result.written.append(entry);
    }
    return result;
}
