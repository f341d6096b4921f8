#include "link/LineReader.h"

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/ReplyLineCheck.h"
#include "link/Trace.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

// One kind of reply line: its shape and the reader's name in messages.
struct LineReader::Form
{
    Kind kind;
    const ReplyLineCheck::Form &shape;
    QString name;
};

LineReader::LineReader(CommandTransport &transport, LinkState &state, EventLoop &loop,
                       Dialogs &dialogs, DebugSwitches &switches, Trace &trace,
                       CommStatusLine &status)
    : m_transport(transport)
    , m_state(state)
    , m_loop(loop)
    , m_dialogs(dialogs)
    , m_switches(switches)
    , m_trace(trace)
    , m_status(status)
{
}

const LineReader::Form &LineReader::form(Kind kind)
{
    static const Form forms[] = {
        {Kind::Binc, ReplyLineCheck::Binc, QStringLiteral("fnReadBinc")},
        {Kind::HexHdra, ReplyLineCheck::HexHdra, QStringLiteral("fnReadHexHdra")},
        {Kind::HexDatae, ReplyLineCheck::HexDatae, QStringLiteral("fnReadHexDatae")},
    };
    return forms[int(kind)];
}

QString LineReader::fnReadBinc(const QString &address)
{
    return readLine(Kind::Binc, address);
}

QString LineReader::fnReadHexHdra(const QString &address)
{
    return readLine(Kind::HexHdra, address);
}

QString LineReader::fnReadHexDatae(const QString &address)
{
    return readLine(Kind::HexDatae, address);
}

QString LineReader::readLine(Kind kind, const QString &address)
{
    const Form &f = form(kind);
    for (int tries = 0;; ++tries) {
        m_stStatusMsg.clear();
        m_transport.sendCommand(QString(f.shape.letter), address);
        waitForLine();
        bool good = false;
        if (!m_state.commAbort || kind != Kind::HexDatae) {
            // An exchange that timed out leaves no line to check.
            if (m_state.commAbort)
                m_state.stLastLine.clear();
            good = checkLine(f, address);
        }
        if (good)
            return m_state.stLastLine;
        reportFailure(f, address, tries);
        if (tries == Tries - 1) {
            m_state.stLastLine.clear();
            m_state.commAbort = true;
            m_dialogs.beep();
            return QString();
        }
        if (kind == Kind::HexHdra && m_state.commAbort) {
            m_state.stLastLine.clear();
            return QString();
        }
        subWait(m_loop, m_state.commAbort, RetryPauseSeconds);
    }
}

void LineReader::waitForLine()
{
    while (!m_state.lineReady && !m_state.commAbort)
        m_loop.yield();
}

bool LineReader::checkLine(const Form &f, const QString &address)
{
    const QString &line = m_state.stLastLine;
    const bool dataLine = f.kind == Kind::HexDatae;
    const ReplyLineCheck::Fault fault = ReplyLineCheck::check(f.shape, line, address);
    if (fault == ReplyLineCheck::Fault::Length) {
        m_stStatusMsg += QStringLiteral("Length =") + QString::number(line.size()) + u'/'
            + QString::number(f.shape.lineLength) + u' ';
        if (dataLine && line.size() < f.shape.lineLength)
            m_switches.haltOnErrorBox(m_dialogs,
                                      QStringLiteral("err-13..Short Data <42 Chars in fnreadhexdatae$"));
        return false;
    }
    if (fault == ReplyLineCheck::Fault::Checksum) {
        m_stStatusMsg += QStringLiteral("CRC ");
        if (dataLine)
            m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-14..CRC error in fnreadhexdatae$"));
        return false;
    }
    if (fault == ReplyLineCheck::Fault::Address) {
        m_dialogs.Message_Box(QStringLiteral("115 KB address mismatch error at: ") + address,
                              Dialogs::OkCancel, QStringLiteral("fnReadHexDatae"));
        if (dataLine)
            m_switches.haltOnErrorBox(m_dialogs,
                                      QStringLiteral("err-15..Address mismatch in fnreadhexdatae$"));
        m_stStatusMsg += QStringLiteral("Addr echo error: ") + address + u'/' + line.mid(1, 6)
            + QStringLiteral("   ");
        return false;
    }
    return true;
}

void LineReader::reportFailure(const Form &f, const QString &address, int tries)
{
    m_stStatusMsg += QStringLiteral("Read Error in ") + f.name + QStringLiteral("> C=") + f.shape.letter
        + QStringLiteral(", ") + f.name + QStringLiteral("$(") + address
        + QStringLiteral("), Trys: ") + QString::number(tries);
    m_status.show(m_stStatusMsg);
    m_switches.beepOnError(m_dialogs);
    if (f.kind != Kind::Binc || m_switches.monitor)
        m_trace.subDebugPrintERR(m_stStatusMsg);
    if (f.kind == Kind::HexDatae)
        m_switches.haltOnErrorBox(m_dialogs, QStringLiteral("err-07  ") + m_stStatusMsg);
    m_status.startBlanking();
}
