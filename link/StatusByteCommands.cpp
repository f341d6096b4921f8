#include "link/StatusByteCommands.h"

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "logger/FunctionsSubs.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QScopedValueRollback>
#include <algorithm>

namespace {

constexpr int StatusLineLength = 6; // "p" "#" two digits, two checksum digits

} // namespace

StatusByteCommands::StatusByteCommands(CommandTransport &transport, LinkState &state,
                                       Dialogs &dialogs, EventLoop &loop, CommStatusLine &status,
                                       const DebugSwitches &switches)
    : m_transport(transport)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_loop(loop)
    , m_status(status)
    , m_switches(switches)
{
}

void StatusByteCommands::send(const QString &letter, const QString &separator,
                              const QString &data, qint16 length)
{
    m_transport.sendCommand(letter, QString(), separator, data, length);
}

void StatusByteCommands::subSBRead()
{
    Q_EMIT alertLabelChanged(QString(), std::nullopt);
    Q_EMIT testStatusChanged(QString(), std::nullopt);
    send(QStringLiteral("p"));
    checkStatusLine(waitForReplyLine());

    const QString text = statusTextFromReply();
    m_scanNumber = -3;
    Q_EMIT alertLabelChanged(QString(), std::nullopt);
    Q_EMIT batteryStopDateChanged(QString());

    m_decoded = StatusByteState::decode(text, m_alertText, m_currentScanNumber, m_eventScanNumber);
    m_alertText = m_decoded.alertText;
    showDecoded();
    Q_EMIT statusLineChanged(m_decoded.flagNames);
    refreshScanNumbers();

    m_downloadStatusText = QStringLiteral("End of test status:,Hex:,") + text
                           + m_decoded.flagNames + QLatin1Char(',');
    Q_EMIT statusByteShown(text);
    // The next read shows its alerts after the byte and scan of this one.
    m_alertText = text + QStringLiteral(" StatusByte@Scan: ") + QString::number(m_scanNumber)
                  + QStringLiteral(" -- ");
}

// The transport has waited for the reply's carriage return already; this
// only makes sure the line in stLastLine is the reply. The wait is bounded
// by the transmit time-out so that a line lost in between cannot hang it.
QString StatusByteCommands::waitForReplyLine()
{
    const qint64 deadline = m_loop.elapsedNs() + qint64(m_state.txTimeoutMs) * 1000000;
    while (!m_state.lineReady && !m_state.commAbort && m_loop.elapsedNs() < deadline)
        m_loop.yieldUntil(deadline);
    if (!m_state.lineReady || m_state.commAbort)
        m_state.stLastLine.clear();
    return m_state.stLastLine;
}

void StatusByteCommands::checkStatusLine(const QString &line)
{
    if (line.size() != StatusLineLength) {
        m_state.commAbort = true;
        return;
    }
    if (fnChecksum(line.mid(1, 3)) == line.mid(4, 2))
        return;
    m_state.commAbort = true;
    m_status.show(QStringLiteral("CRC Error on status byte line read"));
    m_switches.beepOnError(m_dialogs);
    m_status.startBlanking();
    m_dialogs.beep();
}

QString StatusByteCommands::statusTextFromReply() const
{
    const qsizetype hash = m_state.stReply.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return QString();
    return m_state.stReply.mid(hash + 1, 2);
}

void StatusByteCommands::showDecoded()
{
    for (int bit = 0; bit < 8; ++bit) {
        const StatusByteState::BitLabel &label = m_decoded.labels[size_t(bit)];
        Q_EMIT statusBitChanged(bit, label.colour, label.caption);
    }
    if (m_decoded.alertShown)
        Q_EMIT alertLabelChanged(m_decoded.alertText, m_decoded.alertBackground);
    Q_EMIT testStatusChanged(m_decoded.testStatus, m_decoded.testStatusColour);
    Q_EMIT loPowerStopEnabled(m_decoded.loggingActive);

    // The boxes follow the logger; their click handlers must not echo it back.
    QScopedValueRollback<bool> quiet(m_suppressBoxCommands, true);
    Q_EMIT loggingBoxTicked(m_decoded.loggingActive);
    Q_EMIT dumpBoxTicked(m_decoded.dumpOn);
}

// Without words per scan nothing can be divided: the numbers keep their
// values and the scan number stays "unknown" (-3).
void StatusByteCommands::refreshScanNumbers()
{
    const ScanPointers p = m_hooks.scanPointers ? m_hooks.scanPointers() : ScanPointers();
    if (p.wordsPerScan == 0)
        return;
    m_currentScanNumber = scanNumberAt(p.currentPointer, p.wordsPerScan);
    m_eventScanNumber = scanNumberAt(p.eventPointer, p.wordsPerScan);
    Q_EMIT scanNumbersChanged(QString::number(m_currentScanNumber),
                              QString::number(m_eventScanNumber));
    m_scanNumber = p.eventPointer > 0 ? m_eventScanNumber : m_currentScanNumber;
    m_lastScan = p.presetScans > 0 ? std::min(m_currentScanNumber, p.presetScans)
                                   : m_currentScanNumber;
    m_lastScanTime = p.testStart.isValid() ? p.testStart.addSecs(m_lastScan * p.scanPeriodSeconds)
                                           : QDateTime();
}

void StatusByteCommands::subSBWrite(qint16 value)
{
    send(QStringLiteral("q"), QStringLiteral("#"), fnHex2(value), 2);
}

void StatusByteCommands::subSBClear()
{
    subSBWrite(0);
}

// Only the logging and dump states survive a reset; the alarm and end-of-test
// bits go, as with a clear.
void StatusByteCommands::subSBReset()
{
    subSBWrite(qint16(m_decoded.value & (StatusByteState::LogEnabled | StatusByteState::DumpEnabled)));
}

void StatusByteCommands::subSBClearDisplay()
{
    for (int bit = 1; bit < 8; ++bit)
        Q_EMIT statusBitCleared(bit);
}

void StatusByteCommands::subLed2On()
{
    send(QStringLiteral("h"), QStringLiteral("#"), QStringLiteral("2"));
}

void StatusByteCommands::subLed2Off()
{
    send(QStringLiteral("i"), QStringLiteral("#"), QStringLiteral("2"));
}

void StatusByteCommands::subLed3On()
{
    send(QStringLiteral("h"), QStringLiteral("#"), QStringLiteral("3"));
}

void StatusByteCommands::subLed3Off()
{
    send(QStringLiteral("i"), QStringLiteral("#"), QStringLiteral("3"));
}

void StatusByteCommands::subSoftReset()
{
    send(QStringLiteral("o"));
    subWait(m_loop, m_state.commAbort, 0.2f);
    send(QStringLiteral("g"));
    subWait(m_loop, m_state.commAbort, 0.3f);
}

void StatusByteCommands::subEnableDump()
{
    send(QStringLiteral("t"));
    subSBRead();
}

void StatusByteCommands::subDisableDump()
{
    send(QStringLiteral("s"));
    subSBRead();
}

void StatusByteCommands::subEnableLogging()
{
    send(QStringLiteral("l"));
    subSBRead();
}

void StatusByteCommands::subDisableLogging()
{
    subDisableDump();
    subSBRead();
    if (m_decoded.stopOrTimeBase && !m_decoded.loggingActive)
        return; // already stopped
    if (!m_decoded.loggingActive)
        return;
    // Stopped by the PC: bit 2 tells the download the test was cut short.
    quint16 value = fnSetBit(m_decoded.value, 2);
    value = fnClearBit(value, 4);
    value = fnClearBit(value, 7);
    send(QStringLiteral("m"));
    if (m_state.commAbort)
        m_dialogs.Message_Box(QStringLiteral("subDisableLogging /m/ command write error stop logging"),
                              int(Dialogs::OkOnly) | Dialogs::Critical,
                              QStringLiteral("subDisableLogging, /m/ write error"));
    subSBWrite(qint16(value));
    if (m_hooks.captureEvents)
        m_hooks.captureEvents();
    Q_EMIT loPowerStopEnabled(false);
}

void StatusByteCommands::chkLed2Clicked(bool ticked)
{
    if (!suppressed())
        ticked ? subLed2On() : subLed2Off();
}

void StatusByteCommands::chkLed3Clicked(bool ticked)
{
    if (!suppressed())
        ticked ? subLed3On() : subLed3Off();
}

void StatusByteCommands::chkEnableDumpClicked(bool ticked)
{
    if (!suppressed())
        ticked ? subEnableDump() : subDisableDump();
}

void StatusByteCommands::chkEnableLoggingClicked(bool ticked)
{
    if (!suppressed())
        ticked ? subEnableLogging() : subDisableLogging();
}
