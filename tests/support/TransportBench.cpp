#include "tests/support/TransportBench.h"

namespace {

// The serial link's handling of received bytes, reduced to what the benches
// need that run the transport without the connection watch: reply capture,
// the current line and the last complete line (traced when a trace is given).
void pumpReceived(Port &port, LinkState &state, Trace *trace = nullptr)
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

} // namespace

TransportBench::TransportBench(EventLoop &loop, const LoggerImage &image)
    : eventLoop(loop)
    , logger(loop, image)
    , simPort(loop, logger)
    , port(simPort, [&loop] { return loop.elapsedNs(); })
    , status(loop)
    , transport(port, loop, dialogs, state, switches, trace, status)
{
    state.txTimeoutMs = 3000;
    state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");
    port.setEventHandler([this](Port::Event event) {
        if (event == Port::Event::Receive)
            pumpReceived(port, state, switches.monitor ? &trace : nullptr);
    });
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));
}
