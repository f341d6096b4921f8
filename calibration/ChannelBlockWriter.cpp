#include "calibration/ChannelBlockWriter.h"

#include "calibration/ChannelBlock.h"
#include "link/LinkState.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"

ChannelBlockWriter::ChannelBlockWriter(CommandTransport &transport, LinkState &state)
    : m_writer(transport, state), m_state(state)
{
}

std::optional<int> ChannelBlockWriter::write(int channelIndex, const QStringList &lines,
                                             const std::function<void(int line)> &afterLine)
{
    m_state.commAbort = false;
    m_writer.begin();
    for (int line = 0; line < ChannelBlock::Lines && line < lines.size(); ++line) {
        const int address = ChannelBlock::address(channelIndex, line);
        if (!m_writer.writeText(address, lines.at(line)))
            return address;
        if (afterLine)
            afterLine(line);
    }
    return std::nullopt;
}

void ChannelBlockWriter::showFailedLine(Dialogs &dialogs, const LinkState &state, int address)
{
    if (state.abandoned)
        return;
    dialogs.Message_Box(QStringLiteral("Unanticipated error writing &H") + fnHex4(address)
                            + QStringLiteral(", please check input values."),
                        Dialogs::OkCancel, QStringLiteral("Unanticipated error"));
}

void ChannelBlockWriter::showUnwritableValues(Dialogs &dialogs)
{
    dialogs.Message_Box(QStringLiteral("Error in entering data. If Type error 13 reenter cal date."),
                        Dialogs::OkCancel, QStringLiteral("Unanticipated Error"));
}
