#include "link/SequenceRunner.h"

#include "link/LinkState.h"
#include "platform/EventLoop.h"

#include <utility>

SequenceRunner::SequenceRunner(EventLoop &loop, LinkState &state)
    : m_loop(loop)
    , m_state(state)
{
}

void SequenceRunner::supersede(std::function<void()> sequence)
{
    if (m_shutDown)
        return;
    m_queued = std::move(sequence);
    abandonRunning();
    if (m_kickPosted)
        return;
    m_kickPosted = true;
    m_loop.post([this] {
        m_kickPosted = false;
        runQueued();
    });
}

bool SequenceRunner::runCommand(const std::function<void()> &command)
{
    if (m_running || m_shutDown)
        return false;
    m_running = true;
    m_state.abandoned = false;
    command();
    m_running = false;
    if (!m_shutDown)
        m_state.abandoned = false;
    if (m_queued && !m_kickPosted) {
        m_kickPosted = true;
        m_loop.post([this] {
            m_kickPosted = false;
            runQueued();
        });
    }
    return true;
}

void SequenceRunner::abandonRunning()
{
    if (!m_running)
        return;
    m_state.abandoned = true;
    m_state.commAbort = true;
}

void SequenceRunner::abandonAll()
{
    m_queued = {};
    abandonRunning();
}

void SequenceRunner::shutDown()
{
    m_shutDown = true;
    m_queued = {};
    m_state.abandoned = true;
    m_state.commAbort = true;
}

void SequenceRunner::runQueued()
{
    // Posted while an older sequence was waiting: that one unwinds first and
    // then starts this one from here.
    if (m_running)
        return;
    while (m_queued && !m_shutDown) {
        const std::function<void()> sequence = std::exchange(m_queued, {});
        m_running = true;
        m_state.abandoned = false;
        m_state.commAbort = false;
        sequence();
        m_running = false;
        if (!m_shutDown)
            m_state.abandoned = false;
    }
}
