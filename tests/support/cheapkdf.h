#pragma once

#include "vault/kdfpolicy.h"

// Argon2id at its least cost, so a test makes and opens key slots in
// microseconds; a slot asking less than this is still refused.
inline KdfPolicy cheapKdfPolicy()
{
    constexpr KdfLimits kCheap{1, 8192};
    return {kCheap, {64, std::size_t(1) << 30}, [] { return kCheap; }};
}

inline void useCheapKeyDerivation() { setKdfPolicy(cheapKdfPolicy()); }
