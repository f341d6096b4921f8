#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class CommStatusLine;
class Dialogs;
class EventLoop;
class LineReader;
class Port;
class Timer;
class Trace;
struct DebugSwitches;
struct LinkState;

// Every framed exchange with the logger: the letter, its echo, the body paced
// one character at a time, the carriage return, the reply, and for the
// writes "d", "b" and "f" a read-back that is compared with what was sent.
// One command at a time; the read-back is the only nesting. Success or
// failure is left in LinkState::commAbort, the reply in stReply/stLastLine.
class CommandTransport : public QObject
{
    Q_OBJECT

public:
    static constexpr int Attempts = 3;
    // The factory page's "Stop Bit 2 Delay" default, in pause counts.
    static constexpr double DefaultInterCharDelay = 500;
    // One count of the pause after each body character: the default 500 asks
    // for 50 us between the characters handed to the port.
    static constexpr qint64 DelayUnitNs = 100;

    // The parts of the port owner (SerialLink) the transport calls. Any hook
    // left empty is done directly on the port and the link state.
    struct LinkHooks
    {
        std::function<bool()> fnCTS;             // CTS at the ready level
        std::function<void()> subClearBuffers;   // drain input, drop output, empty the texts
        std::function<void()> subDTROn;          // re-assert DTR (and its indicator)
        std::function<void()> stopReceiveTimer;  // disable tmrRxd
    };

    CommandTransport(Port &port, EventLoop &loop, Dialogs &dialogs, LinkState &state,
                     DebugSwitches &switches, Trace &trace, CommStatusLine &status);
    ~CommandTransport() override;

    void setLinkHooks(LinkHooks hooks) { m_hooks = std::move(hooks); }

    // interCharDelay, from the factory page's txtstopbit2delay; negative counts as 0.
    void setInterCharDelay(double count);
    double interCharDelay() const { return m_interCharDelay; }

    // Sends one command. When the echo never came and "Halt on error" is
    // ticked, data is overwritten with the failure text; length is overwritten
    // with the number of body characters sent.
    void SubSendMessage(QString &command, QString &address, QString &separator, QString &data,
                        qint16 &length);
    // The same for callers that do not want their arguments back.
    void sendCommand(QString command, QString address = QString(), QString separator = QString(),
                     QString data = QString(), qint16 length = 0);

    // True when the last write ("d", "b" or "f") was sent but its read-back
    // never matched and the operator gave it up in the verify box.
    bool lastWriteFailedVerify() const { return m_verifyFailed; }

    // The memory line reads (fnReadBinc, fnReadHexHdra, fnReadHexDatae).
    LineReader &lineReader() { return *m_reader; }

    // TmrTxd: one attempt, from the letter to the reply's carriage return.
    Timer &tmrTxd() { return *m_tmrTxd; }

Q_SIGNALS:
    // The factory page's transmit box TxtTxd: its whole new text.
    void txdChanged(const QString &text);
    // The factory page's receive label LblRxd: its whole new text.
    void rxdChanged(const QString &text);

private:
    enum class Outcome { Done, Resend };

    bool sendLetter(const QString &letter, const QString &address, QString &data, int &attempts);
    bool refuseAbandoned();
    bool waitForEcho(QChar letter);
    void failedEcho(const QString &letter);
    void noEchoAtAll(QString &data);
    void sendBody(const QString &body);
    qint64 characterPauseNs() const;
    void pauseAfterCharacter(qint64 deadlineNs);
    bool waitForReply();
    Outcome verify(const QString &letter, const QString &address, const QString &data,
                   const QString &body, int &attempts);
    Outcome verifyHeaderLine(const QString &letter, const QString &address, const QString &body,
                             int &attempts);
    Outcome verifyDataLine(const QString &address, const QString &data);
    void finalCrAbort(const QString &letter, const QString &address);
    void timeoutAbort(const QString &letter, const QString &address);
    void refuseBadTextWrite(const QString &address, const QString &data);
    void TmrTxd_Timer();
    void appendTxd(const QString &text);

    bool fnCTS();
    void subClearBuffers();
    void subDTROn();
    void stopReceiveTimer();

    Port &m_port;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    LinkState &m_state;
    DebugSwitches &m_switches;
    Trace &m_trace;
    CommStatusLine &m_status;
    LinkHooks m_hooks;
    std::unique_ptr<Timer> m_tmrTxd;
    std::unique_ptr<LineReader> m_reader;
    double m_interCharDelay = DefaultInterCharDelay;
    QString m_txd;
    QString m_stTxLog;
    bool m_verifyFailed = false;
};
