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

// The status byte commands and the maintenance buttons on the simulated
// logger under virtual time, already connected: the port open at 9600 baud
// and the logger recognised, so a test starts with the command it is about.
// The receive side fills the link state as the port owner does (reply
// capture, current line, last complete line).
class StatusByteBench : public VirtualLoopOwner, public TransportBench
{
public:
    explicit StatusByteBench(const LoggerImage &image);

    // The program's bytes since the last call, carriage returns shown as "|".
    QByteArray wire();
    // subClearBuffers as the port owner does it.
    void clearBuffers();

    StatusByteCommands statusByte;
    MaintenanceButtons buttons;
    int bufferClears = 0;
};
