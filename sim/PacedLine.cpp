#include "sim/PacedLine.h"

qint64 PacedLine::charNs(int baud)
{
    return baud > 0 ? 10 * 1000000000LL / baud : 1000000LL;
}

void PacedLine::loggerSends(const QByteArray &bytes, int baud, qint64 nowNs)
{
    if (bytes.isEmpty())
        return;
    // A reply that finds the line idle waits for the adapter's turnaround;
    // one handed over while earlier output is still queued follows it.
    qint64 at = qMax(nowNs + m_turnaroundNs, m_toPcFreeNs);
    for (char byte : bytes) {
        at += charNs(baud);
        m_toPc.push_back({at, byte});
    }
    m_toPcFreeNs = at;
}

qint64 PacedLine::nextDueNs() const
{
    return m_toPc.empty() ? -1 : m_toPc.front().dueNs;
}

QByteArray PacedLine::takeDue(qint64 nowNs)
{
    QByteArray due;
    while (!m_toPc.empty() && m_toPc.front().dueNs <= nowNs) {
        due += m_toPc.front().byte;
        m_toPc.pop_front();
    }
    return due;
}

std::vector<qint64> PacedLine::pcSends(qsizetype count, int baud, qint64 nowNs)
{
    std::vector<qint64> arrivals;
    qint64 at = qMax(nowNs, m_toLoggerFreeNs);
    for (qsizetype i = 0; i < count; ++i) {
        at += charNs(baud);
        arrivals.push_back(at);
    }
    m_toLoggerFreeNs = at;
    return arrivals;
}
