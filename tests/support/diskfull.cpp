#include "diskfull.h"

#include <csignal>
#include <sys/resource.h>

DiskFull::DiskFull(off_t maxBytes)
{
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_oldLimit = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(maxBytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

DiskFull::~DiskFull()
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_oldLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}
