#include "logger/MemoryTopProbe.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerConnection.h"
#include "logger/LoggingStop.h"
#include "logger/MemoryTestDisplay.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

namespace {
const QString Counting = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");

qint64 lineAddress(int k, int j)
{
    return MemoryTopProbe::FirstBase + k * MemoryTopProbe::BlockBytes + 16 * j;
}
} // namespace

MemoryTopProbe::MemoryTopProbe(const MemoryTestParts &parts) : m_p(parts)
{
}

QString MemoryTopProbe::taggedLine(qint64 address, int line)
{
    const QChar digit = QString::number(line % 16, 16).toUpper().at(0);
    return (fnHex6(qint32(address)) + u'C' + QString(28, digit)).left(32);
}

QString MemoryTopProbe::topMessage(qint64 top, qint64 memoryInstalled)
{
    const QString text = QStringLiteral("Top of memory is at ") + fnHex6(qint32(top)) + QStringLiteral("h, or ")
        + QString::number(top) + QStringLiteral("d.");
    if (top == memoryInstalled)
        return text;
    return QStringLiteral(" MEMORY CHIPS ARE NOT SET CORRECTLY!") + QStringLiteral("\r\n\r\n") + text;
}

bool MemoryTopProbe::ready()
{
    return m_p.connection.confirmedLogger()
        && LoggingStop::stopped(m_p.connection, m_p.dialogs, QStringLiteral("A memory top check"));
}

bool MemoryTopProbe::linkLost() const
{
    return m_p.connection.state.commAbort || m_p.connection.state.abandoned;
}

bool MemoryTopProbe::yielded()
{
    m_p.loop.yieldUntil(m_p.loop.elapsedNs());
    return !linkLost();
}

std::optional<qint64> MemoryTopProbe::probe()
{
    if (!ready())
        return std::nullopt;
    StatusByteCommands &status = m_p.connection.statusByte;
    status.subSBWrite(0);
    if (!linkLost())
        status.subSBWrite(0);
    if (linkLost())
        return std::nullopt;
    int done = 0;
    for (int k = Bases - 1; k >= 0; --k) {
        if (!writeBase(k) || !yielded())
            return std::nullopt;
        Q_EMIT m_p.display.progressed(++done, 2 * Bases);
    }
    for (int k = 0; k < Bases; ++k) {
        bool stopped = false;
        const std::optional<qint64> wrong = readBase(k, stopped);
        if (stopped)
            return std::nullopt;
        Q_EMIT m_p.display.progressed(++done, 2 * Bases);
        if (wrong) {
            // The fitted memory ends at the 32 KiB boundary below the
            // first line that did not hold its own text.
            const qint64 top = lineAddress(k, 0) + 16 - BlockBytes;
            m_p.dialogs.Message_Box(topMessage(top, m_p.connection.header.memoryInstalled), Dialogs::OkOnly,
                                    QStringLiteral("Top of Memory"));
            return top;
        }
        if (!yielded())
            return std::nullopt;
    }
    return std::nullopt;
}

bool MemoryTopProbe::writeBase(int k)
{
    CommandTransport &transport = m_p.connection.transport;
    for (int j = 0; j < 2; ++j) {
        const qint64 address = lineAddress(k, j);
        Q_EMIT m_p.display.lineTested(fnHex6(qint32(address)));
        for (const QString &data : {Counting, taggedLine(address, 2 * k + j)}) {
            transport.sendCommand(QStringLiteral("f"), fnHex6(qint32(address)), QStringLiteral("#"), data, 32);
            if (linkLost())
                return false;
        }
    }
    return true;
}

std::optional<qint64> MemoryTopProbe::readBase(int k, bool &stopped)
{
    LineReader &reader = m_p.connection.transport.lineReader();
    for (int j = 0; j < 2; ++j) {
        const qint64 address = lineAddress(k, j);
        Q_EMIT m_p.display.lineTested(fnHex6(qint32(address)));
        const QString reply = reader.fnReadHexDatae(fnHex6(qint32(address)));
        if (linkLost()) {
            stopped = true;
            return std::nullopt;
        }
        // Address, "#" and the 32 digits, after the echoed letter.
        if (reply.mid(1, 39) != fnHex6(qint32(address)) + u'#' + taggedLine(address, 2 * k + j))
            return address;
    }
    return std::nullopt;
}
