#include "tests/support/ReceivePump.h"
#include "tests/link/StatusByteBench.h"

StatusByteBench::StatusByteBench(const LoggerImage &image)
    : logger(loop, image)
    , simPort(loop, logger)
    , port(simPort)
    , status(loop)
    , transport(port, loop, dialogs, state, switches, trace, status)
    , statusByte(transport, state, dialogs, loop, status, switches)
    , buttons(statusByte, transport, port, state, dialogs, loop, switches)
{
    state.txTimeoutMs = 3000;
    state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");
    state.loggerConnected = true;
    transport.tmrTxd().setIntervalMs(state.txTimeoutMs);
    buttons.setHooks({.clearBuffers = [this] { clearBuffers(); }});
    port.setEventHandler([this](Port::Event event) {
        if (event == Port::Event::Receive)
            receive();
    });
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));
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

void StatusByteBench::receive()
{
    pumpReceived(port, state);
}
