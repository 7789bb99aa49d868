// The frame-rate counter's latching and the pacing rule.
#include "app/frame_timer.hpp"

#include <gtest/gtest.h>

namespace {

uint32_t gNow = 0;
uint32_t FakeClock() { return gNow; }

TEST(FrameTimer, LatchesOncePerSecondAndReturnsThePreviousCountInBetween) {
    FrameTimer::Reset();
    FrameTimer::SetClock(&FakeClock);
    // The last sample starts at 0, so the first tick on a running machine latches at once.
    gNow = 50000;
    EXPECT_EQ(FrameTimer::Tick(), 1u);
    for (int i = 0; i < 61; ++i) {
        gNow += 16;
        EXPECT_EQ(FrameTimer::Tick(), 1u) << "frame " << i;
    }
    gNow = 51000;  // 1000 ms after the sample: 62 frames counted since
    EXPECT_EQ(FrameTimer::Tick(), 62u);
    gNow = 51999;
    EXPECT_EQ(FrameTimer::Tick(), 62u);
    FrameTimer::SetClock(nullptr);
    FrameTimer::Reset();
}

TEST(FrameTimer, SampleDifferenceIsUnsignedAcrossTheClockWrap) {
    FrameTimer::Reset();
    FrameTimer::SetClock(&FakeClock);
    gNow = 0xFFFFFF00u;
    FrameTimer::Tick();  // latches: sample at 0xFFFFFF00
    gNow = 0x00000100u;  // 512 ms later, through the wrap
    EXPECT_EQ(FrameTimer::Tick(), 1u);
    gNow = 0x000002F0u;  // 1008 ms after the sample
    EXPECT_EQ(FrameTimer::Tick(), 2u);
    FrameTimer::SetClock(nullptr);
    FrameTimer::Reset();
}

TEST(FramePacing, ShortFramesSleepTheRestLongFramesNone) {
    struct Case {
        uint32_t t0, t1, sleep;
    } cases[] = {
        {1000, 1005, 11},  // a 5 ms frame sleeps 11 ms
        {1000, 1000, 16},
        {1000, 1015, 1},
        {1000, 1016, 0},  // 16 ms or more: the next frame follows at once
        {1000, 1040, 0},
        {0xFFFFFFFEu, 3, 11},  // through the wrap of the tick count
    };
    for (const Case& c : cases) EXPECT_EQ(FramePacing::SleepMs(c.t0, c.t1), c.sleep) << c.t0 << " -> " << c.t1;
}

}  // namespace
