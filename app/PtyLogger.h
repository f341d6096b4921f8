#pragma once

#include "sim/PacedLine.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <termios.h>

class LoggerSimulator;
class QSocketNotifier;

// The master side of a pseudo-terminal with the simulated logger behind it.
// Keeps its own handle on the slave side, so that reads do not fail while no
// terminal is connected and the terminal's settings (its baud rate) can be
// read at any time.
//
// A pseudo-terminal passes bytes on at once, whatever rate is set on it, so
// the line is paced here (PacedLine): each byte the logger sends is written
// when its stop bit would end at the logger's rate, after the adapter's
// turnaround before each reply, and each byte the terminal writes reaches
// the logger as if it had crossed the line at the terminal's rate. The
// writes are timed on the monotonic clock by sleeping to just before each
// deadline (with the thread's timer slack cut to the minimum) and waiting
// out the last few microseconds, so bytes leave within a few tens of
// microseconds of their time without keeping a core busy between them.
// While bytes are due the Qt event loop waits; the terminal's input is still
// read meanwhile.
class PtyLogger
{
public:
    struct Speed
    {
        speed_t code;
        int baud;
    };
    static std::optional<speed_t> speedCode(int baud);
    static QString describeSpeeds();

    PtyLogger(LoggerSimulator &logger, int initialBaud, qint64 turnaroundNs);
    ~PtyLogger();
    PtyLogger(const PtyLogger &) = delete;
    PtyLogger &operator=(const PtyLogger &) = delete;

    bool open(QString *error);
    QString path() const { return m_path; }
    // The rate the terminal has set on its side of the line.
    int terminalBaud() const;

private:
    static bool fail(QString *error, const QString &what);
    static qint64 monotonicNs();
    void readTerminal();
    bool takeInput();
    void send(const QByteArray &bytes, int baud);
    void schedulePump();
    void pump();
    void waitUntil(qint64 dueNs);

    LoggerSimulator &m_logger;
    int m_initialBaud;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    PacedLine m_line;
    // While the logger takes a byte from the terminal: when that byte
    // arrived, which is when the logger's answer to it starts.
    qint64 m_arrivalNs = -1;
    bool m_pumping = false;
    bool m_pumpQueued = false;
    std::unique_ptr<QSocketNotifier> m_reader;
};
