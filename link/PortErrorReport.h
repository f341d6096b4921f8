#pragma once

#include "platform/Port.h"

#include <QString>

class CommStatusLine;
class Dialogs;
class Trace;
struct DebugSwitches;
struct LinkState;

// How a line error of the port reaches the operator: the trace, the debug
// beep, the halt box, the status line and, while a logger is connected, the
// hardware-error box that also cancels a running download.
class PortErrorReport
{
public:
    PortErrorReport(Dialogs &dialogs, LinkState &state, DebugSwitches &switches, Trace &trace,
                    CommStatusLine &status);

    // The operator's text for a line error of the port.
    static QString text(Port::Event event);

    // Reports one error; it shows boxes, so it runs from the loop, never from
    // the port's own event delivery.
    void report(const QString &text);

private:
    Dialogs &m_dialogs;
    LinkState &m_state;
    DebugSwitches &m_switches;
    Trace &m_trace;
    CommStatusLine &m_status;
};
