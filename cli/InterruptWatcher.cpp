#include "cli/InterruptWatcher.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The write end for the signal handler; a signal handler can reach nothing
// but a value of this kind.
volatile std::sig_atomic_t writeEnd = -1;

void onSignal(int)
{
    const char byte = 1;
    if (writeEnd >= 0)
        [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt)
    : m_onInterrupt(std::move(onInterrupt))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds) != 0)
        return;
    for (int fd : m_fds)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_fds[1], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    writeEnd = m_fds[0];
    setHandler(SIGINT, onSignal);
    setHandler(SIGTERM, onSignal);
}

InterruptWatcher::~InterruptWatcher()
{
    setHandler(SIGINT, SIG_DFL);
    setHandler(SIGTERM, SIG_DFL);
    writeEnd = -1;
    m_notifier.reset();
    for (int fd : m_fds)
        if (fd >= 0)
            ::close(fd);
}

void InterruptWatcher::drain()
{
    char bytes[16];
    bool interrupted = false;
    while (::read(m_fds[1], bytes, sizeof bytes) > 0)
        interrupted = true;
    if (interrupted && m_onInterrupt)
        m_onInterrupt();
}
