#include "tests/support/TransportBench.h"

#include "platform/StartupSettings.h"

TransportBench::TransportBench(EventLoop &loop, const LoggerImage &image)
    : eventLoop(loop)
    , settings(scratch.filePath(QStringLiteral("settings.ini")))
    , logger(loop, image)
    , simPort(loop, logger)
    , port(simPort, [&loop] { return loop.elapsedNs(); })
    , connection(port, loop, settings, dialogs)
    , state(connection.state)
    , switches(connection.switches)
    , trace(connection.trace)
    , status(connection.status)
    , transport(connection.transport)
{
    StartupSettings(settings).save(QStringLiteral("CommPortNum"), QStringLiteral("1"));
    state.txTimeoutMs = 3000;
    state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");
    state.loggerConnected = true;
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));
}

void TransportBench::connect(double seconds)
{
    auto *virtualLoop = dynamic_cast<VirtualEventLoop *>(&eventLoop);
    Q_ASSERT(virtualLoop);
    connection.link.subCommConnect();
    virtualLoop->advanceSeconds(seconds);
}
