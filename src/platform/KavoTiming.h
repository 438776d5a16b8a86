#pragma once

#include <cstdint>

// Sleeps the calling thread for ms milliseconds.
void KavoSleep(uint32_t ms);
// A monotonic high-resolution counter, in ticks of KavoPerformanceFrequency.
int64_t KavoPerformanceCounter();
// Ticks per second of KavoPerformanceCounter; never 0, so dividing by it is safe.
int64_t KavoPerformanceFrequency();
