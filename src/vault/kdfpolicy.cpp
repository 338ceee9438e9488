#include "kdfpolicy.h"

#include "secretbytes.h"

#include <sodium.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;
constexpr KdfLimits kFloor{2, 64 * kMiB};
constexpr std::size_t kMostMemory = 256 * kMiB;
// A slot may ask this much and no more, where a hostile one could otherwise
// hold the sign-in for minutes: 16 passes over 256 MiB took 3.0 s on the
// machine the limits were tuned on. A new slot never asks more than this.
constexpr KdfLimits kCeiling{16, kMostMemory};
constexpr double kAimSeconds = 0.7;
constexpr double kLeastSeconds = 0.5;

double secondsFor(const KdfLimits &limits)
{
    unsigned char key[32];
    const unsigned char salt[crypto_pwhash_SALTBYTES] = {};
    QElapsedTimer timer;
    timer.start();
    const int failed = crypto_pwhash(key, sizeof key, "tuning", 6, salt, limits.ops, limits.memory, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(key, sizeof key);
    return failed ? 0.0 : double(timer.nsecsElapsed()) / 1e9;
}

// Argon2id's time grows with memory times passes: more memory first, as it
// costs an attacker most, then more passes.
KdfLimits tuned()
{
    if (!sodiumReady())
        return kFloor;
    const double measured = secondsFor(kFloor);
    if (measured <= 0.0)
        return kFloor;
    const double factor = kAimSeconds / measured;
    KdfLimits limits = kFloor;
    while (limits.memory * 2 <= kMostMemory && double(limits.memory * 2) <= factor * double(kFloor.memory))
        limits.memory *= 2;
    const double passes = factor * double(kFloor.ops) * double(kFloor.memory) / double(limits.memory);
    limits.ops = std::clamp(static_cast<unsigned long long>(std::llround(passes)), kFloor.ops, kCeiling.ops);
    // The first measure pays for memory never touched before, so the guess
    // runs short; one measure of the guess itself sets the passes.
    const double guessed = secondsFor(limits);
    if (guessed > 0.0 && guessed < kLeastSeconds)
        limits.ops = std::min(kCeiling.ops, static_cast<unsigned long long>(std::llround(double(limits.ops) * kAimSeconds / guessed)));
    return limits;
}

KdfPolicy &current()
{
    static KdfPolicy policy = productPolicy();
    return policy;
}

} // namespace

KdfPolicy productPolicy()
{
    return {kFloor, kCeiling, tuned};
}

const KdfPolicy &kdfPolicy()
{
    return current();
}

void setKdfPolicy(KdfPolicy policy)
{
    current() = std::move(policy);
}
