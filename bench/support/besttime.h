#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <time.h>
#include <vector>

// The process's processor time, every thread's, in nanoseconds.
inline qint64 cpuNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The best of runs in milliseconds, of the time that passed and of the
// processor time of all threads: the steady cost without a neighbour's noise,
// which on a busy machine shows in the first and hardly in the second.
struct Best
{
    double ms = 0;
    double cpuMs = 0;
};

// prepare runs untimed before each run.
inline Best bestMs(int runs, const std::function<void()> &step, const std::function<void()> &prepare = [] {})
{
    std::vector<qint64> took, used;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        const qint64 cpu = cpuNs();
        timer.start();
        step();
        took.push_back(timer.nsecsElapsed());
        used.push_back(cpuNs() - cpu);
    }
    return {double(*std::min_element(took.begin(), took.end())) / 1e6, double(*std::min_element(used.begin(), used.end())) / 1e6};
}
