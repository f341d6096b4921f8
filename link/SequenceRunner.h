#pragma once

#include <functional>

class EventLoop;
struct LinkState;

// Runs the sequences that talk to the logger on their own (the new-connection
// sequence, the reconnect after the bootloader's "?") one at a time, from the
// event loop rather than from the port or timer handler that asked for them,
// so that port events and line changes keep arriving while they wait.
//
// A newer sequence supersedes a running one: the running sequence is marked
// abandoned (LinkState::abandoned, with commAbort), so its waits end, the
// transport refuses its further commands and its boxes are not shown; once
// it has unwound, the newer one runs. So an older header read never commits
// over the state of the logger plugged in after it.
class SequenceRunner
{
public:
    SequenceRunner(EventLoop &loop, LinkState &state);

    // Queues sequence; a sequence already running is abandoned, one queued
    // and not yet started is replaced.
    void supersede(std::function<void()> sequence);
    // Runs an operator command that talks to the logger (a download) now,
    // as the running sequence: a lost logger or a newer connection abandons
    // it like any other, and a connection arriving meanwhile waits for it to
    // unwind. False, without running it, while another sequence runs.
    bool runCommand(const std::function<void()> &command);
    // Abandons the running sequence, which serves nobody any more.
    void abandonRunning();
    // The logger went away: abandon the running sequence, drop a queued one.
    void abandonAll();
    // The program is ending: abandon what runs and start nothing new.
    void shutDown();

    bool isRunning() const { return m_running; }

private:
    void runQueued();

    EventLoop &m_loop;
    LinkState &m_state;
    std::function<void()> m_queued;
    bool m_kickPosted = false;
    bool m_running = false;
    bool m_shutDown = false;
};
