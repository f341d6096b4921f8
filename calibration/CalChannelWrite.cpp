#include "calibration/CalChannelWrite.h"

#include "calibration/CalNumbers.h"
#include "calibration/ChannelBlock.h"
#include "calibration/ChannelBlockWriter.h"
#include "link/LoggerBusy.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
constexpr int ReadBackProgress = 25;
} // namespace

const QString CalChannelWrite::HandEntryTitle = QStringLiteral("ReCalculate Values?");

CalChannelWrite::CalChannelWrite(const Parts &parts) : m_p(parts)
{
}

bool CalChannelWrite::save(int channelIndex, CalBoxes &boxes, const CalComputation::State &state,
                           const QDate &today)
{
    m_p.progress(0);
    m_p.connection.state.commAbort = false;
    m_p.dialogs.setBusy(true);
    bool written = false;
    if (handEntryAccepted(boxes, state)) {
        if (boxes[CalFields::CalDue].isEmpty())
            boxes[CalFields::CalDue] = CalNumbers::defaultDueDate(today);
        if (const std::optional<QStringList> lines = ChannelBlock::fromBoxes(boxes).lines())
            written = write(channelIndex, *lines, boxes);
        else
            unanticipatedError();
    }
    m_p.dialogs.setBusy(false);
    return written;
}

// A slope left as computed with an offset that differs was typed by hand:
// ask whether to keep it. Both as computed: compute again, as the boxes may
// have changed since.
bool CalChannelWrite::handEntryAccepted(const CalBoxes &boxes, const CalComputation::State &state)
{
    const auto picture = CalNumbers::scientificPicture;
    if (picture(CalNumbers::value(boxes[CalFields::LoggerSlope])) != picture(state.computedSlope))
        return true;
    if (picture(CalNumbers::value(boxes[CalFields::LoggerOffset])) == picture(state.computedOffset)) {
        m_p.recompute();
        return true;
    }
    const int answer = m_p.dialogs.Message_Box(
        QStringLiteral("The Slope or Offset appear to be manually entered.") + CrLf + CrLf
            + QStringLiteral("Click OK to keep the entered Slope & Offset, or") + CrLf + CrLf
            + QStringLiteral("Click Cancel to Exit then click the") + CrLf
            + QStringLiteral("Compute Cal Factors button to calculate new values."),
        Dialogs::OkCancel, HandEntryTitle);
    return answer != Dialogs::Cancel;
}

bool CalChannelWrite::write(int channelIndex, const QStringList &lines, const CalBoxes &boxes)
{
    LoggerConnection &c = m_p.connection;
    std::optional<int> failed;
    const bool ran = runOnLink([&] {
        ChannelBlockWriter writer(c.transport, c.state);
        failed = writer.write(channelIndex, lines, [this](int line) {
            if (const std::optional<int> value = ChannelBlock::progressAfter(line))
                m_p.progress(*value);
        });
        if (failed)
            return;
        ChannelCalRecord &record = c.header.channel.at(channelIndex);
        const ChannelCalRecord before = c.header.channelInLogger.at(channelIndex);
        ChannelBlock::fromBoxes(boxes).applyTo(record);
        const ChannelCalRecord after = record;
        c.header.channelInLogger.at(channelIndex) = record;
        c.headerReader.subReadHeader();
        m_p.progress(ReadBackProgress);
        if (m_p.channelWritten)
            m_p.channelWritten(channelIndex, before, after);
    });
    if (!ran)
        return false;
    if (failed) {
        m_p.dialogs.setBusy(false);
        ChannelBlockWriter::showFailedLine(m_p.dialogs, m_p.connection.state, *failed);
        return false;
    }
    return true;
}

void CalChannelWrite::factoryReset(int channelIndex)
{
    LoggerConnection &c = m_p.connection;
    const QStringList lines =
        ChannelBlock::factoryDefaults(channelIndex + 1, c.header.modelVersion.contains(QStringLiteral("MC")));
    m_p.dialogs.setBusy(true);
    std::optional<int> failed;
    const bool ran = runOnLink([&] {
        failed = ChannelBlockWriter(c.transport, c.state).write(channelIndex, lines);
        if (!failed)
            ChannelBlock::applyFactoryValues(c.header.channel.at(channelIndex));
    });
    m_p.dialogs.setBusy(false);
    if (ran && failed) {
        // The logger stopped answering: say where, rather than going on
        // through a time-out for every remaining line.
        m_p.dialogs.Message_Box(
            QStringLiteral("The logger did not take line &H") + fnHex4(*failed)
                + QStringLiteral(", so the reset stopped there.") + CrLf
                + QStringLiteral("Check the connection, then reset the channel again."),
            int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Reset to Factory Default"));
    }
}

bool CalChannelWrite::runOnLink(const std::function<void()> &command)
{
    return LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs, command);
}

void CalChannelWrite::unanticipatedError()
{
    m_p.dialogs.setBusy(false);
    ChannelBlockWriter::showUnwritableValues(m_p.dialogs);
}
