#pragma once

#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TapPort.h"

#include <QTemporaryDir>

// The program's logger side without windows (LoggerConnection: link,
// transport, status byte, event capture, header read, wired as the program
// wires them) on the simulated logger, with the conversation recorded.
// Received bytes go through the link's own receive handling. Built, it is
// at 9600 baud with the logger taken as recognised, so the benches of the
// link and logger tests can talk to it at once; connect() instead runs the
// whole new-connection sequence, as plugging a logger in does.
class TransportBench
{
public:
    TransportBench(EventLoop &eventLoop, const LoggerImage &image);
    virtual ~TransportBench() = default;

    // Opens port 1 as Log On does and runs the loop until the new-connection
    // sequence (first lines, status byte, events, header read) has ended.
    // Needs a virtual-time loop.
    void connect(double seconds = 30);

    EventLoop &eventLoop;
    QTemporaryDir scratch;
    SettingsStore settings;
    LoggerSimulator logger;
    SimPort simPort;
    TapPort port;
    ScriptedDialogs dialogs;
    LoggerConnection connection;
    LinkState &state;
    DebugSwitches &switches;
    Trace &trace;
    CommStatusLine &status;
    CommandTransport &transport;
};

// The virtual-time loop a bench owns; a base of its own so that it is built
// before the transport that runs on it.
struct VirtualLoopOwner
{
    VirtualEventLoop loop;
};
