#pragma once

#include <QObject>
#include <QString>

// The diagnostics trace behind the trace window: one line per exchange (what
// was sent, padded, then what came back) and one per reported error, newest
// first. Callers decide whether MONITOR allows a line; the trace itself
// records everything it is given. The window shows traceChanged's text.
class Trace : public QObject
{
    Q_OBJECT

public:
    // Width the transmit and receive parts are padded to with "_".
    static constexpr int PartWidth = 50;
    // The trace keeps at most this many characters (about 10,000 exchanges,
    // some 2 MB), dropping its oldest lines, so a day of MONITOR stays small.
    static constexpr qsizetype MaxChars = 1 << 20;

    explicit Trace(QObject *parent = nullptr);

    // Keeps what the current command sent (stTxLog) as the pending transmit
    // part and empties stTxLog.
    void subDebugPrintTX(QString &stTxLog);
    // A completed received line, "[cr]" included: becomes the pending receive
    // part and is traced at once with the pending transmit part.
    void receivedLine(const QString &lineWithCr);
    // Puts pending transmit + pending receive + "_" fill as one line on top.
    void subDebugPrintRX();
    // Puts the text as one line on top and drops both pending parts.
    void subDebugPrintERR(const QString &text);

    // "Clear Box".
    void clear();
    QString text() const { return m_text; }
    QString pendingTransmit() const { return m_pendingTx; }
    QString pendingReceive() const { return m_pendingRx; }

Q_SIGNALS:
    // A line went on top (without its CR LF); traceChanged follows.
    void lineAdded(const QString &line);
    void traceChanged(const QString &text);

private:
    void prepend(const QString &line);

    QString m_text;
    QString m_pendingTx;
    QString m_pendingRx;
};
