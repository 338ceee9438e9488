#pragma once

#include <sys/types.h>

// While alive, no file of this process may grow beyond maxBytes: a write past
// it fails as on a full disk (SIGXFSZ is ignored meanwhile). Works as root,
// where permissions would not stop a write.
class DiskFull
{
public:
    explicit DiskFull(off_t maxBytes);
    ~DiskFull();
    DiskFull(const DiskFull &) = delete;
    DiskFull &operator=(const DiskFull &) = delete;

private:
    unsigned long long m_oldLimit = 0;
    void (*m_oldHandler)(int) = nullptr;
};
