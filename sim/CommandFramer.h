#pragma once

#include <QByteArray>
#include <functional>
#include <memory>

class EventLoop;
class Timer;

// The logger's receive side: recognises command letters between commands,
// collects a command's body up to its carriage return, and throws away what
// cannot be a command. Knows only the shape of each command (how long its
// body may be), not what it does.
class CommandFramer
{
public:
    enum class Step {
        Ignored, // not a command letter, or part of discarded input
        Letter, // a command letter: to be echoed
        Body, // a body character was taken
        Complete, // the carriage return ended a command: command() is ready
        Restart, // the raw bootloader "G"
        Dropped, // the body was too long; the rest of the line is ignored
    };
    struct Command
    {
        char letter = 0;
        QByteArray body;
    };

    CommandFramer(EventLoop &loop, int timeoutMs);
    ~CommandFramer();

    Step feed(quint8 byte);
    const Command &command() const { return m_command; }
    // Forgets a command in progress (not echoed, restart, cable pulled).
    void reset();
    bool isIdle() const { return m_state == State::Idle; }
    // Called when a body or a discard ends by silence.
    void setTimeoutHandler(std::function<void()> handler) { m_onTimeout = std::move(handler); }

    // Longest body of a letter, or -1 when the letter is no command.
    static int maxBody(char letter);

private:
    enum class State { Idle, Collecting, Discarding };
    Step collect(quint8 byte);
    bool endsBody(quint8 byte) const;
    void timedOut();

    State m_state = State::Idle;
    Command m_command;
    std::unique_ptr<Timer> m_timer;
    std::function<void()> m_onTimeout;
};
