#pragma once

#include <cstddef>
#include <functional>

// The cost of turning a password into a key with Argon2id.
struct KdfLimits
{
    unsigned long long ops = 0;
    std::size_t memory = 0; // bytes
    friend bool operator==(const KdfLimits &, const KdfLimits &) = default;
};

// What a new key slot costs, and the least an existing one may cost: a slot
// asking less was lowered by someone, and is refused rather than tried.
struct KdfPolicy
{
    KdfLimits floor;
    KdfLimits ceiling;
    std::function<KdfLimits()> chooseForNewSlot;
};

// At least 64 MiB, tuned on this machine so that signing in takes about 0.7 s.
KdfPolicy productPolicy();

const KdfPolicy &kdfPolicy();
// Tests pass cheap limits here; the product never calls it.
void setKdfPolicy(KdfPolicy policy);
