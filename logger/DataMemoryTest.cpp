#include "logger/DataMemoryTest.h"

#include "link/CommandTransport.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerConnection.h"
#include "logger/LoggingStop.h"
#include "logger/MemoryTestDisplay.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QDateTime>

namespace {
constexpr int LineStep = 16;
constexpr int Digits = 32;
} // namespace

DataMemoryTest::DataMemoryTest(const MemoryTestParts &parts, std::optional<quint32> seed)
    : m_p(parts), m_random(seed ? *seed : quint32(parts.loop.now().toMSecsSinceEpoch()))
{
}

bool DataMemoryTest::ready()
{
    LoggerConnection &c = m_p.connection;
    if (!c.confirmedLogger() || !LoggingStop::stopped(c, m_p.dialogs, QStringLiteral("A data memory test")))
        return false;
    if (c.header.memoryInstalled < 2 * LineStep) {
        m_p.dialogs.Message_Box(QStringLiteral("The logger's header gives it no data memory, so there is nothing to test."),
                                int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Data Memory Test"));
        return false;
    }
    return true;
}

bool DataMemoryTest::linkLost() const
{
    return m_p.connection.state.commAbort || m_p.connection.state.abandoned;
}

bool DataMemoryTest::subChkDataMem(Length length)
{
    // A request left over from an earlier test does not cut this one short.
    m_shortTest = false;
    if (!ready())
        return false;
    LoggerConnection &c = m_p.connection;
    c.statusByte.subSBWrite(0);
    if (linkLost()) {
        finish(true, false);
        return false;
    }
    const qint64 top = qint64(c.header.memoryInstalled) - 2 * LineStep;
    bool failed = false;
    bool aborted = false;
    int digit = 0;
    for (qint64 address = top; address >= 0; address = nextAddress(address, length)) {
        Q_EMIT m_p.display.lineTested(fnHex6(qint32(address)));
        if (!writeLine(address, digit, failed)) {
            aborted = true;
            break;
        }
        digit = (digit + 1) % 16;
        Q_EMIT m_p.display.progressed(int((top - address) / LineStep), int(top / LineStep));
        m_p.loop.yieldUntil(m_p.loop.elapsedNs());
        if (linkLost()) {
            aborted = true;
            break;
        }
    }
    finish(aborted, failed);
    return !aborted && !failed;
}

bool DataMemoryTest::writeLine(qint64 address, int digit, bool &failed)
{
    CommandTransport &transport = m_p.connection.transport;
    const QString patterns[] = {QString(Digits, u'5'), QString(Digits, u'A'),
                                QString(Digits, QString::number(digit, 16).toUpper().at(0))};
    for (const QString &pattern : patterns) {
        transport.sendCommand(QStringLiteral("f"), fnHex6(qint32(address)), QStringLiteral("#"), pattern,
                              qint16(Digits));
        if (linkLost())
            return false;
        failed = failed || transport.lastWriteFailedVerify();
    }
    return true;
}

qint64 DataMemoryTest::nextAddress(qint64 address, Length length)
{
    const qint64 next = address - (length == Length::Quick ? QuickStep : LineStep * m_steps(m_random));
    if (!m_shortTest)
        return next;
    m_shortTest = false;
    // Never back up: a test already below 512 just goes on.
    return qMin<qint64>(next, ShortTestAddress);
}

void DataMemoryTest::finish(bool aborted, bool failed)
{
    if (aborted)
        Q_EMIT m_p.display.shown(QStringLiteral("Aborted"), QStringLiteral("DATA Aborted"));
    else if (failed)
        Q_EMIT m_p.display.shown(QStringLiteral("Failed"), QStringLiteral("DATA FAILED"));
    else
        Q_EMIT m_p.display.shown(QStringLiteral("GOOD"), QStringLiteral("DATA GOOD"));
}
