#pragma once

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "logger/FunctionsSubs.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "tests/support/TapPort.h"
#include "tests/support/ScriptedDialogs.h"

#include <QStringList>

class EventLoop;

// The transport and the line reads wired to the simulated logger, with a
// receive handler that fills the link state from the port as the port owner
// does: reply capture, the current line, the last complete line.
class LinkBench
{
public:
    explicit LinkBench(EventLoop &loop, const LoggerImage &image);

    // Sends a command and returns what it left in stReply.
    QString send(const QString &letter, const QString &address = QString(),
                 const QString &separator = QString(), const QString &data = QString(),
                 qint16 length = 0);
    QStringList boxTitles() const { return dialogs.titles(); }

    EventLoop &loop;
    LoggerSimulator logger;
    SimPort simPort;
    TapPort port;
    LinkState state;
    DebugSwitches switches;
    Trace trace;
    CommStatusLine status;
    ScriptedDialogs dialogs;
    CommandTransport transport;
    // Every text the status line showed, blanks included.
    QStringList statusTexts;
    int haltUnticks = 0;

private:
    void receive();
};
