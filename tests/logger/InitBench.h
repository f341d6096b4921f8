#pragma once

#include "tests/support/TransportBench.h"

#include "logger/LoggerInitializer.h"
#include "sim/LoggerPresets.h"

#include <QStringList>

// A simulated logger, connected as plugging it in does, with the program's
// initialization routines and what they tell the windows recorded.
class InitBench : public VirtualLoopOwner, public TransportBench
{
public:
    explicit InitBench(LoggerPreset preset);
    explicit InitBench(const LoggerImage &image);

    // The 16 characters or 32 digits of a header line in the logger.
    QString textAt(int address) const;
    QString hexAt(int address) const;

    LoggerInitializer &init;
    QStringList messages;
    QStringList initTimes;
    int lastDownloadCleared = 0;
    int lastReadCleared = 0;
    int progress = -1;

private:
    void record();
};

// A finished test's logger, plugged in and read, its wire record emptied.
struct Connected
{
    explicit Connected(LoggerPreset preset = LoggerPreset::Finished);
    InitBench bench;
};

// One command as the recorded wire shows it (carriage return as "|"), with
// the transport's read-back of the writes.
QString textWrite(const QString &address, const QString &text);
QString hexWrite(const QString &address, const QString &digits);
QString statusWrite(const QString &hex);
