#include "tests/link/StatusByteBench.h"

StatusByteBench::StatusByteBench(const LoggerImage &image)
    : TransportBench(loop, image)
    , statusByte(transport, state, dialogs, loop, status, switches)
    , buttons(statusByte, transport, port, state, dialogs, loop, switches)
{
    state.loggerConnected = true;
    buttons.setHooks({.clearBuffers = [this] { clearBuffers(); }});
}

QByteArray StatusByteBench::wire()
{
    return port.takeWritten().replace('\r', '|');
}

void StatusByteBench::clearBuffers()
{
    ++bufferClears;
    while (port.bytesWaiting() > 0)
        port.takeByte();
    port.discardOutput();
    state.stRxLine.clear();
    state.stLastLine.clear();
    state.stReply.clear();
}
