#include "tests/support/ReceivePump.h"
#include "tests/link/LinkBench.h"

#include "platform/EventLoop.h"

LinkBench::LinkBench(EventLoop &eventLoop, const LoggerImage &image)
    : loop(eventLoop)
    , logger(eventLoop, image)
    , simPort(eventLoop, logger)
    , port(simPort, [&eventLoop] { return eventLoop.elapsedNs(); })
    , status(eventLoop)
    , transport(port, eventLoop, dialogs, state, switches, trace, status)
{
    state.txTimeoutMs = 3000;
    state.stTxTimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");
    port.setEventHandler([this](Port::Event event) {
        if (event == Port::Event::Receive)
            receive();
    });
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));
    QObject::connect(&status, &CommStatusLine::textChanged,
                     [this](const QString &text) { statusTexts.append(text); });
    switches.onHaltOnErrorUnticked = [this] { ++haltUnticks; };
}

QString LinkBench::send(const QString &letter, const QString &address, const QString &separator,
                        const QString &data, qint16 length)
{
    transport.sendCommand(letter, address, separator, data, length);
    return state.stReply;
}

void LinkBench::receive()
{
    pumpReceived(port, state, switches.monitor ? &trace : nullptr);
}
