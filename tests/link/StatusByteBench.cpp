#include "tests/link/StatusByteBench.h"

StatusByteBench::StatusByteBench(const LoggerImage &image)
    : TransportBench(loop, image)
    , statusByte(connection.statusByte)
    , buttons(connection.buttons)
{
    buttons.setHooks({.clearBuffers = [this] { clearBuffers(); }});
}

QByteArray StatusByteBench::wire()
{
    return port.takeWritten().replace('\r', '|');
}

void StatusByteBench::clearBuffers()
{
    ++bufferClears;
    connection.link.subClearBuffers();
}
