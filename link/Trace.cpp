#include "link/Trace.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

Trace::Trace(QObject *parent)
    : QObject(parent)
{
}

void Trace::subDebugPrintTX(QString &stTxLog)
{
    m_pendingTx = stTxLog.leftJustified(PartWidth, u'_');
    stTxLog.clear();
}

void Trace::receivedLine(const QString &lineWithCr)
{
    m_pendingRx = lineWithCr;
    subDebugPrintRX();
}

void Trace::subDebugPrintRX()
{
    const qsizetype fill = qMax<qsizetype>(1, PartWidth - m_pendingRx.size());
    const QString line = m_pendingTx + m_pendingRx + QString(fill, u'_');
    m_pendingTx.clear();
    m_pendingRx.clear();
    prepend(line);
}

void Trace::subDebugPrintERR(const QString &text)
{
    m_pendingTx.clear();
    m_pendingRx.clear();
    prepend(text);
}

void Trace::clear()
{
    m_text.clear();
    Q_EMIT traceChanged(m_text);
}

void Trace::prepend(const QString &line)
{
    m_text.prepend(line + CrLf);
    if (m_text.size() > MaxChars) {
        // Drop whole lines from the old end so the trace never ends mid-line.
        const qsizetype cut = m_text.lastIndexOf(CrLf, MaxChars - CrLf.size());
        m_text.truncate(cut < 0 ? MaxChars : cut + CrLf.size());
    }
    Q_EMIT lineAdded(line);
    Q_EMIT traceChanged(m_text);
}
