#pragma once

#include "tests/support/TransportBench.h"

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/MaintenanceButtons.h"
#include "link/StatusByteCommands.h"
#include "link/Trace.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QByteArray>

// The program's status byte commands and maintenance buttons on the
// simulated logger under virtual time, already connected: the port open at
// 9600 baud and the logger recognised, so a test starts with the command it
// is about. Buffers are cleared by the link itself, counted.
class StatusByteBench : public VirtualLoopOwner, public TransportBench
{
public:
    explicit StatusByteBench(const LoggerImage &image);

    // The program's bytes since the last call, carriage returns shown as "|".
    QByteArray wire();
    // The link's subClearBuffers, counted.
    void clearBuffers();

    StatusByteCommands &statusByte;
    MaintenanceButtons &buttons;
    int bufferClears = 0;
};
