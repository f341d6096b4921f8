#include "logger/HeaderMemoryTest.h"

#include "link/CommandTransport.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/LoggerConnection.h"
#include "logger/LoggingStop.h"
#include "logger/MemoryTestDisplay.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QStringList>

namespace {
const QString CrLf = QStringLiteral("\r\n");
constexpr int LineStep = 16;
constexpr int Lines = (HeaderMemoryTest::LastLine - HeaderMemoryTest::FirstLine) / LineStep + 1;

// Sixteen "U" (01010101), sixteen of code 170 (10101010), then fifteen "."
// and a digit that counts from line to line.
QStringList patterns(int digit)
{
    return {QString(16, u'U'), QString(16, QChar(170)),
            QString(15, u'.') + QString::number(digit, 16).toUpper()};
}
} // namespace

HeaderMemoryTest::HeaderMemoryTest(const MemoryTestParts &parts, std::function<QString()> dataFolder)
    : m_p(parts)
    , m_backup({parts.connection, parts.dialogs, std::move(dataFolder), [loop = &parts.loop] { return loop->now(); }})
{
}

bool HeaderMemoryTest::ready()
{
    return m_p.connection.confirmedLogger()
        && LoggingStop::stopped(m_p.connection, m_p.dialogs, QStringLiteral("A header memory test"));
}

bool HeaderMemoryTest::linkLost() const
{
    return m_p.connection.state.commAbort || m_p.connection.state.abandoned;
}

bool HeaderMemoryTest::subChkHdrMem()
{
    m_cancel = false;
    m_patternLine = -1;
    if (!ready())
        return false;
    const std::optional<QString> backup = m_backup.keep();
    if (!backup)
        return false;
    HeaderLineWriter writer(m_p.connection.transport, m_p.connection.state);
    writer.begin();
    bool failed = false;
    bool aborted = false;
    int digit = 0;
    int done = 0;
    for (int address = LastLine; address >= FirstLine;) {
        m_lastAddress = address;
        Q_EMIT m_p.display.lineTested(fnHex4(address));
        const Line line = testLine(writer, address, digit);
        digit = (digit + 1) % 16;
        Q_EMIT m_p.display.progressed(++done, Lines);
        failed = failed || line == Line::Failed;
        m_p.loop.yieldUntil(m_p.loop.elapsedNs());
        if (line == Line::Aborted || linkLost()) {
            aborted = true;
            break;
        }
        address = nextAddress(address, line == Line::Failed);
    }
    finish(aborted, failed, *backup);
    return !aborted && !failed && !m_cancel;
}

HeaderMemoryTest::Line HeaderMemoryTest::testLine(HeaderLineWriter &writer, int address, int digit)
{
    // A line that could not be read is left alone: writing anything back
    // into it would destroy the text it holds.
    const std::optional<QString> kept = writer.readText(address);
    if (!kept)
        return Line::Aborted;
    CommandTransport &transport = m_p.connection.transport;
    m_patternLine = address;
    bool failed = false;
    for (const QString &pattern : patterns(digit)) {
        if (!writer.writeText(address, pattern))
            return Line::Aborted;
        if (transport.lastWriteFailedVerify()) {
            failed = true;
            break;
        }
    }
    // The line's own text goes back even after a failed pattern.
    if (!writer.writeText(address, *kept))
        return Line::Aborted;
    m_patternLine = -1;
    return failed || transport.lastWriteFailedVerify() ? Line::Failed : Line::Good;
}

int HeaderMemoryTest::nextAddress(int address, bool failed)
{
    if (m_cancel)
        return JumpAfterCancel;
    if (failed && address > JumpAfterFailure)
        return JumpAfterFailure;
    return address - LineStep;
}

void HeaderMemoryTest::finish(bool aborted, bool failed, const QString &backup)
{
    MemoryTestDisplay &display = m_p.display;
    if (aborted || m_cancel)
        Q_EMIT display.shown(QStringLiteral("Aborted"), QStringLiteral("HEADER ABORTED"));
    else if (failed)
        Q_EMIT display.shown(QStringLiteral("Failed"), QStringLiteral("HEADER FAILED"));
    else
        Q_EMIT display.shown(QString(), QStringLiteral("HEADER GOOD"));
    if (aborted) {
        if (!m_p.connection.state.abandoned)
            reportAbort(backup);
        return;
    }
    m_p.dialogs.Message_Box(
        QStringLiteral("Please verify that the header information is still correct on the next screen. OK to continue.")
            + CrLf + CrLf + QStringLiteral("The logger's header as it was before the test is kept in ") + backup
            + u'.',
        Dialogs::OkOnly, QStringLiteral("Header Memory Test"));
    m_p.connection.headerReader.subReadHeader();
}

void HeaderMemoryTest::reportAbort(const QString &backup)
{
    const QString where = m_patternLine >= 0
        ? QStringLiteral("Line ") + fnHex4(m_patternLine)
            + QStringLiteral(" may still hold a test pattern instead of its own text.")
        : QStringLiteral("It stopped at line ") + fnHex4(m_lastAddress)
            + QStringLiteral(" before writing it; every line tested holds its own text again.");
    m_p.dialogs.Message_Box(QStringLiteral("The header memory test was aborted.") + CrLf + where + CrLf + CrLf
                                + QStringLiteral("The logger's header as it was before the test is kept in ")
                                + backup + QStringLiteral("; load that header data file to restore it."),
                            int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Header Memory Test Aborted"));
}
