// The game's clock: millisecond ticks for the frame counter, and sleeping for frame pacing.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

using SteadyTime = std::chrono::steady_clock::time_point;

// Milliseconds since the machine started; wraps like a 32-bit tick count.
uint32_t TimeMs();
void SleepMs(uint32_t ms);
// Sleeps until `deadline`: coarse sleep to just before it, then waits out the last fraction,
// so a 16 ms frame really lasts 16 ms and not 17.
void SleepUntil(SteadyTime deadline);

}  // namespace platform
