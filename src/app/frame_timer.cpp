// The frame-rate counter's three process-wide values.
#include "app/frame_timer.hpp"

#include "platform/window/clock.hpp"

namespace FrameTimer {

namespace {
uint32_t gFrameCounter = 0;
uint32_t gLastSample = 0;
uint32_t gFramesPerSecond = 0;
uint32_t gCurrentTick = 0;
uint32_t (*gClock)() = nullptr;

uint32_t Now() { return gClock ? gClock() : platform::TimeMs(); }
}  // namespace

uint32_t Tick() {
    const uint32_t now = Now();
    ++gFrameCounter;
    gCurrentTick = now;
    if (now - gLastSample < 1000) return gFramesPerSecond;
    gLastSample = Now();
    gFramesPerSecond = gFrameCounter;
    gFrameCounter = 0;
    return gFramesPerSecond;
}

uint32_t FramesPerSecond() { return gFramesPerSecond; }
void SetClock(uint32_t (*clock)()) { gClock = clock; }

void Reset() {
    gFrameCounter = gLastSample = gFramesPerSecond = gCurrentTick = 0;
}

}  // namespace FrameTimer
