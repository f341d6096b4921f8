#include "soak/DiskLimit.h"

#include <csignal>
#include <sys/resource.h>

void DiskLimit::prepare()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void DiskLimit::fillAt(qint64 bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(qMax<qint64>(0, bytes));
    setrlimit(RLIMIT_FSIZE, &limit);
}

void DiskLimit::lift()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
}
