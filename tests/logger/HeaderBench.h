#pragma once

#include "tests/support/TransportBench.h"

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "logger/HeaderReader.h"
#include "logger/LoggerHeader.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QStringList>

// A connected simulated logger under virtual time with the program's header
// reader, its hooks replaced by recorders and its signals recorded.
class HeaderBench : public VirtualLoopOwner, public TransportBench
{
public:
    explicit HeaderBench(const LoggerImage &image);

    // Header text lines of the image, for tests that spoil a line.
    void setLine(int address, const QString &text);
    QString lineAt(int address) const;

    LoggerHeader &header;
    HeaderReader &reader;

    // What the hooks and signals saw, in order.
    QStringList events;
    QStringList messages;
    QStringList notesShown;
    QStringList channelLabels;
    double lastProgress = -1;
    int progressMaximum = 0;

};
