#include "KavoTiming.h"

#include <chrono>
#include <ratio>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
}

void KavoSleep(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t KavoPerformanceCounter()
{
    return static_cast<int64_t>(Clock::now().time_since_epoch().count());
}

int64_t KavoPerformanceFrequency()
{
    constexpr int64_t ticksPerSecond = Clock::period::den / Clock::period::num;
    static_assert(ticksPerSecond > 0, "steady_clock ticks slower than one per second");
    return ticksPerSecond;
}
