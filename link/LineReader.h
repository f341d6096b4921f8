#pragma once

#include <QString>

class CommStatusLine;
class CommandTransport;
class Dialogs;
class EventLoop;
class Trace;
struct DebugSwitches;
struct LinkState;

// Reads one 16-byte line of logger memory, checks the reply's length,
// checksum and address echo, and tries up to six times. Each returns the whole
// reply line (echoed letter first) or an empty text with commAbort set.
class LineReader
{
public:
    static constexpr int Tries = 6;
    static constexpr float RetryPauseSeconds = 0.1f;

    LineReader(CommandTransport &transport, LinkState &state, EventLoop &loop, Dialogs &dialogs,
               DebugSwitches &switches, Trace &trace, CommStatusLine &status);

    // "c": 16 characters of header text at a 4-digit address (24-character line).
    QString fnReadBinc(const QString &address);
    // "a": 16 header bytes as 32 hex digits at a 4-digit address (40 characters).
    QString fnReadHexHdra(const QString &address);
    // "e": 16 data bytes as 32 hex digits at a 6-digit address (42 characters).
    QString fnReadHexDatae(const QString &address);

    // The reason of the last failed try, as shown in the status line.
    QString stStatusMsg() const { return m_stStatusMsg; }

private:
    enum class Kind { Binc, HexHdra, HexDatae };
    struct Form;

    static const Form &form(Kind kind);
    QString readLine(Kind kind, const QString &address);
    void waitForLine();
    bool checkLine(const Form &f, const QString &address);
    void reportFailure(const Form &f, const QString &address, int tries);

    CommandTransport &m_transport;
    LinkState &m_state;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    DebugSwitches &m_switches;
    Trace &m_trace;
    CommStatusLine &m_status;
    QString m_stStatusMsg;
};
