#include "tests/link/LinkBench.h"

LinkBench::LinkBench(EventLoop &eventLoop, const LoggerImage &image)
    : TransportBench(eventLoop, image)
{
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
