#pragma once

#include "link/LinkState.h"
#include "link/Trace.h"
#include "platform/Port.h"

// The serial link's handling of received bytes, reduced to what the benches
// need that run the transport without the connection watch: reply capture,
// the current line and the last complete line (traced when a trace is given).
inline void pumpReceived(Port &port, LinkState &state, Trace *trace = nullptr)
{
    while (port.bytesWaiting() > 0) {
        const QChar c(port.takeByte());
        if (state.captureReply)
            state.stReply += c;
        if (c != u'\r') {
            state.stRxLine += c;
            continue;
        }
        state.lineReady = true;
        state.stLastLine = state.stRxLine;
        if (trace)
            trace->receivedLine(state.stLastLine + QStringLiteral("[cr]"));
        state.stRxLine.clear();
    }
}
