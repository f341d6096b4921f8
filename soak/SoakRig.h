#pragma once

#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "soak/RandomDialogs.h"
#include "soak/WireRecord.h"

#include <QTemporaryDir>
#include <functional>
#include <vector>

class SoakRandom;

// One operation's world: the program's logger side without windows (the
// link and logger parts wired as the command-line tool wires them) on the
// simulated logger, under virtual time, with the soak's operator, a scratch
// data folder and the cable recorded.
class SoakRig
{
public:
    // Longest virtual time anything may wait on its own.
    static constexpr qint64 TimeLimitNs = qint64(2) * 3600 * 1000000000LL;
    static const QString StatusText;

    SoakRig(const LoggerImage &image, SoakRandom &random);
    ~SoakRig();

    // Log On: opens the port and lets the new-connection sequence run to its
    // end. True when a logger was recognised and its header read.
    bool logOn();
    // The logger pulled out and plugged in again, and the sequence run.
    bool replug();
    // Lets the loop run until no sequence is running (or the time is up).
    bool waitIdle(double seconds = 60);
    // Runs an operator command as the link's one sequence, once it is free.
    bool runCommand(const std::function<void()> &command);
    void settle(double seconds) { loop.advanceSeconds(seconds); }
    bool connected();

    QString folder() const { return scratch.filePath(QStringLiteral("data")); }

    VirtualEventLoop loop;
    RandomDialogs dialogs;
    QTemporaryDir scratch;
    SettingsStore settings;
    LoggerSimulator logger;
    SimPort port;
    WireRecord wire;
    LoggerConnection connection;
    // Faults waiting on the loop to strike, taken back with the others.
    std::vector<quint64> scheduledFaults;

private:
    void wireCapture();
    void wireDownload();
    bool runSequence();
};
