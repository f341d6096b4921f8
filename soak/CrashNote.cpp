#include "soak/CrashNote.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {
// The one place a signal handler may read: written between operations only.
char note[512];

void report(int signal)
{
    const char head[] = "\ndatalogger-soak: CRASH (signal) in ";
    (void)!write(STDERR_FILENO, head, sizeof head - 1);
    (void)!write(STDERR_FILENO, note, strnlen(note, sizeof note));
    (void)!write(STDERR_FILENO, "\n", 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
} // namespace

void CrashNote::arm()
{
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(s, report);
}

void CrashNote::set(const QByteArray &text)
{
    const std::size_t n = std::min<std::size_t>(std::size_t(text.size()), sizeof note - 1);
    std::memcpy(note, text.constData(), n);
    note[n] = '\0';
}
