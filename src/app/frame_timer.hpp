// The frame-rate counter: frames counted over sampling periods of at least a second. Its value
// is shown, never used for movement: everything in the game moves by fixed amounts per update.
#pragma once

#include <cstdint>

namespace FrameTimer {

// Counts a frame; returns the frames of the last whole period (unchanged within a period).
uint32_t Tick();
uint32_t FramesPerSecond();
// The millisecond clock the counter reads (tests replace it); null restores the real one.
void SetClock(uint32_t (*clock)());
// Back to the state at process start.
void Reset();

}  // namespace FrameTimer

namespace FramePacing {

// A frame lasts at least this long, from just before the counter's tick to just after Present.
constexpr uint32_t kFrameMs = 16;

// How long to sleep after a frame that began at t0 and ended at t1 (milliseconds, unsigned
// difference, so the clock may wrap).
constexpr uint32_t SleepMs(uint32_t t0, uint32_t t1) {
    const uint32_t elapsed = t1 - t0;
    return elapsed < kFrameMs ? kFrameMs - elapsed : 0;
}

}  // namespace FramePacing
