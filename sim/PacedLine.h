#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <vector>

// The timing of a serial line between the logger and the PC, for a program
// that serves the logger on a device that does not pace bytes itself (a
// pseudo-terminal delivers a write at once). Each character holds its line
// for 10 bit times of its sender's rate (start bit, 8 data bits, stop bit);
// characters handed over while the line is busy queue behind. An interface
// adapter's turnaround (the USB latency of the adapters PCs use) delays each
// reply: output that finds the line to the PC idle starts only that long
// after the logger handed it over. The program writes each byte to the PC
// when it is due, and takes each byte from the PC as arriving when its stop
// bit would have ended.
//
// Times are nanoseconds on any monotonic clock; the class never reads one.
class PacedLine
{
public:
    static qint64 charNs(int baud);

    void setTurnaroundNs(qint64 ns) { m_turnaroundNs = qMax<qint64>(0, ns); }
    qint64 turnaroundNs() const { return m_turnaroundNs; }

    // The logger hands `bytes` to its transmitter at `nowNs`, at `baud`.
    void loggerSends(const QByteArray &bytes, int baud, qint64 nowNs);
    // When the next byte for the PC is due; -1 when none waits.
    qint64 nextDueNs() const;
    // The bytes due by `nowNs`, in order, taken off the line.
    QByteArray takeDue(qint64 nowNs);
    bool idle() const { return m_toPc.empty(); }

    // The PC wrote `count` bytes at `nowNs` at `baud`: when each has arrived.
    std::vector<qint64> pcSends(qsizetype count, int baud, qint64 nowNs);

private:
    struct Timed
    {
        qint64 dueNs;
        char byte;
    };

    qint64 m_turnaroundNs = 0;
    std::deque<Timed> m_toPc;
    qint64 m_toPcFreeNs = 0;
    qint64 m_toLoggerFreeNs = 0;
};
