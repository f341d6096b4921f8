#pragma once

#include "logger/HeaderLineWriter.h"

#include <QStringList>
#include <functional>
#include <optional>

class CommandTransport;
class Dialogs;
struct LinkState;

// Writes the sixteen lines of a channel's calibration block with the text
// write "d", each verified by the transport, and stops at the first line the
// logger did not take, so a logger that stopped answering costs one time-out
// and not sixteen.
class ChannelBlockWriter
{
public:
    ChannelBlockWriter(CommandTransport &transport, LinkState &state);

    // Writes lines x00-xF0 of channel index 0-7, calling afterLine(line)
    // after each line taken. Returns the address of the line that failed, or
    // nothing when all sixteen were written.
    std::optional<int> write(int channelIndex, const QStringList &lines,
                             const std::function<void(int line)> &afterLine = {});

    // The operator's boxes when a write ends early: a line the logger did
    // not take (nothing is shown for a logger that went away, or a program
    // that is ending), and values that cannot be written at all.
    static void showFailedLine(Dialogs &dialogs, const LinkState &state, int address);
    static void showUnwritableValues(Dialogs &dialogs);

private:
    HeaderLineWriter m_writer;
    LinkState &m_state;
};
