#pragma once

#include "calibration/PhRemoteDisplay.h"
#include "logger/HeaderLineWriter.h"

#include <QString>
#include <array>

class CommandTransport;
struct LinkState;

// Puts the remote display's line into channel 1's lines 0640-0670: each line
// is read with "c", keeps its first 12 characters and gets the four digits,
// and goes back with the text write "d".
//
// All four lines are read before any is written. A line whose read failed
// would otherwise be written with whatever the failed read left, and a slope
// or offset written by one of its two lines only would be neither the old
// value nor the new one; so when a read fails nothing is written.
class PhDisplayLineWriter
{
public:
    struct Result
    {
        // True when all four lines were written.
        bool written = false;
        // The address of the line whose read or write failed, "0650".
        QString failedLine;
        bool readFailed = false;
    };

    PhDisplayLineWriter(CommandTransport &transport, LinkState &state);

    Result write(const std::array<PhRemoteDisplay::LineDigits, 4> &lines);

    // The operator's box for a write that did not complete.
    static PhRemoteDisplay::Message failureMessage(const Result &result);

private:
    LinkState &m_state;
    HeaderLineWriter m_writer;
};
