#pragma once

#include "logger/MemoryTestDisplay.h"
#include "logger/MemoryTestParts.h"
#include "sim/LoggerPresets.h"
#include "tests/support/TransportBench.h"

#include <QList>
#include <QPair>

// The memory tests' bench: the logger side on a simulated logger, connected,
// with the displays the tests report to and the writes they sent.
class MemoryBench : public VirtualLoopOwner, public TransportBench
{
public:
    struct Write
    {
        QString address;
        QString data;
        bool operator==(const Write &) const = default;
    };

    explicit MemoryBench(const LoggerImage &image);

    // A preset at the loop's start, with `chips` chips of `typeCode` (0: as built).
    static LoggerImage image(LoggerPreset preset, int chips = 0, int typeCode = 0);

    // The writes with `letter` ("d", "f", ...) sent since the last forget(),
    // each as address and data without the checksum, in order.
    QList<Write> writes(char letter) const;
    QStringList addressesWritten(char letter) const;

    MemoryTestDisplay display;
    MemoryTestParts parts;
    QList<QPair<QString, QString>> shownTexts;
    QStringList linesTested;
};
