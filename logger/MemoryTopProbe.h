#pragma once

#include "logger/MemoryTestParts.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// Finds where the fitted data memory ends. Two lines near the top of every
// 32 KiB block up to 448 KiB are written with a line of their own (their
// address, "C" and a counted digit), then read back from the bottom up: the
// first line that does not hold its own text lies beyond the fitted chips.
// Chips that are smaller than their address range repeat lower down, so the
// lines are written from the top down: each lower line is written after the
// higher lines that may land on it, and only the lines beyond the top read
// back wrong.
class MemoryTopProbe
{
public:
    static constexpr qint64 BlockBytes = 32768;
    static constexpr qint64 FirstBase = BlockBytes - 16; // 007FF0
    static constexpr qint64 LastBase = 458752;           // 070000: bases stay at or below it

    explicit MemoryTopProbe(const MemoryTestParts &parts);

    // Runs the probe; the top found, or nothing when every line read back as
    // written or the probe was stopped (no message then).
    std::optional<qint64> probe();

    // The line written at `address`, the `line`-th line counted from 007FF0.
    static QString taggedLine(qint64 address, int line);
    // The message shown for a top found, with the warning when it differs
    // from the memory the header says is installed.
    static QString topMessage(qint64 top, qint64 memoryInstalled);

private:
    static constexpr int Bases = int((LastBase - FirstBase) / BlockBytes) + 1;

    bool ready();
    bool linkLost() const;
    bool writeBase(int k);
    // The first line that does not read back as written, or nothing; false
    // in `stopped` when the link gave up.
    std::optional<qint64> readBase(int k, bool &stopped);
    bool yielded();

    MemoryTestParts m_p;
};
