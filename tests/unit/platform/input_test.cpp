// Polled key states: down now in the top bit, pressed since the last query in the low bit.
#include "platform/input/input.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(ScriptedInput, KeyStateBitsFollowTheAsynchronousKeyRules) {
    ScriptedInput in;
    EXPECT_EQ(in.AsyncKeyState(Key::Space), 0);
    in.Tap(Key::Space);  // pressed and released between two frames
    EXPECT_EQ(in.AsyncKeyState(Key::Space), 1);
    EXPECT_EQ(in.AsyncKeyState(Key::Space), 0) << "the pressed flag is cleared by the query";
    in.SetKey(Key::A, true);
    EXPECT_EQ(in.AsyncKeyState(Key::A), static_cast<int16_t>(0x8001));
    EXPECT_TRUE(in.KeyDown(Key::A));
    EXPECT_EQ(in.AsyncKeyState(Key::A), static_cast<int16_t>(0x8000));
    in.SetKey(Key::A, false);
    EXPECT_FALSE(in.KeyDown(Key::A));
}

TEST(ScriptedInput, CursorCounterAndScreenCoordinates) {
    ScriptedInput in;
    in.windowOrigin = {100, 50};
    EXPECT_EQ(in.ClientToScreen({640, 360}), (Point{740, 410}));
    EXPECT_EQ(in.ShowCursor(false), -1);
    EXPECT_EQ(in.ShowCursor(false), -2);
    EXPECT_EQ(in.ShowCursor(true), -1);
    in.SetCursorPos({5, 6});
    EXPECT_EQ(in.GetCursorPos(), (Point{5, 6}));
    EXPECT_EQ(in.setCursorCalls(), 1);
}

}  // namespace
