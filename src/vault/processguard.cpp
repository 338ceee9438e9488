#include "processguard.h"

#include <malloc.h>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

// Freed blocks are filled with this byte (glibc's M_PERTURB); new ones with its complement.
constexpr int kFreedFill = 0xA5;

} // namespace

void guardProcessMemory()
{
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    mallopt(M_PERTURB, kFreedFill);
}
