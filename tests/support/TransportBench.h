#pragma once

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TapPort.h"

// The command transport on the simulated logger, connected at 9600 baud, with
// the conversation recorded and the received bytes pumped into the link state
// as the serial link does. The benches of the link and logger tests build on it.
class TransportBench
{
public:
    TransportBench(EventLoop &eventLoop, const LoggerImage &image);
    virtual ~TransportBench() = default;

    EventLoop &eventLoop;
    LoggerSimulator logger;
    SimPort simPort;
    TapPort port;
    ScriptedDialogs dialogs;
    LinkState state;
    DebugSwitches switches;
    Trace trace;
    CommStatusLine status;
    CommandTransport transport;
};

// The virtual-time loop a bench owns; a base of its own so that it is built
// before the transport that runs on it.
struct VirtualLoopOwner
{
    VirtualEventLoop loop;
};
