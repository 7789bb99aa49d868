// The controls snapshot read from scripted input: which key moves which control, the look
// measured from the middle of the picture on the screen, and the taps of Space and Escape
// counted once.
#include "scene/controls_reader.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "null_world.hpp"

using namespace platform;

namespace {

using ControlsReader = NullWorld;

// Every field of a snapshot, in one comparable list.
std::vector<int> Fields(const Controls& c) {
    const FlyKeys& f = c.fly;
    return {c.slideLeft, c.slideRight, c.fire, c.lookX, c.lookY, c.start, c.back, f.forward, f.backward,
            f.turnLeft, f.turnRight, f.up, f.down, f.left, f.right, f.walk, f.place};
}

TEST_F(ControlsReader, EachKeyHeldMovesOnlyItsOwnControls) {
    const struct Case {
        Key key;
        std::function<void(Controls&)> expect;
    } cases[] = {
        {Key::A, [](Controls& c) { c.slideLeft = c.fly.turnLeft = true; }},
        {Key::D, [](Controls& c) { c.slideRight = c.fly.turnRight = true; }},
        {Key::LeftButton, [](Controls& c) { c.fire = true; }},
        {Key::Space, [](Controls& c) { c.start = c.fly.place = true; }},
        {Key::Escape, [](Controls& c) { c.back = true; }},
        {Key::W, [](Controls& c) { c.fly.forward = true; }},
        {Key::S, [](Controls& c) { c.fly.backward = true; }},
        {Key::R, [](Controls& c) { c.fly.up = true; }},
        {Key::F, [](Controls& c) { c.fly.down = true; }},
        {Key::Q, [](Controls& c) { c.fly.left = true; }},
        {Key::E, [](Controls& c) { c.fly.right = true; }},
        {Key::Z, [](Controls& c) { c.fly.walk = true; }},
        {Key::RightButton, [](Controls&) {}},
    };
    input.SetCursor(PictureMiddle(input));
    EXPECT_EQ(Fields(ReadInput()), Fields(Controls{})) << "nothing held";
    for (const Case& c : cases) {
        input.SetKey(c.key, true);
        Controls expected;
        c.expect(expected);
        EXPECT_EQ(Fields(ReadInput()), Fields(expected)) << int(c.key);
        input.SetKey(c.key, false);
    }
    input.SetKey(Key::A, true);
    input.SetKey(Key::D, true);
    EXPECT_EQ(ReadInput().Slide(), 0) << "both slides cancel";
}

TEST_F(ControlsReader, TheLookIsTheCursorsOffsetFromThePicturesMiddleOnTheScreen) {
    input.windowOrigin = {100, 50};
    EXPECT_EQ(PictureMiddle(input), (Point{740, 410}));
    input.SetCursor({740 + 30, 410 - 250});
    const Controls c = ReadInput();
    EXPECT_EQ(c.lookX, 30);
    EXPECT_EQ(c.lookY, -250);
    EXPECT_EQ(input.setCursorCalls(), 0) << "reading leaves the cursor where it is";
}

TEST_F(ControlsReader, ATapBetweenTwoUpdatesStartsOrGoesBackOnceButPlacesNoGate) {
    input.Tap(Key::Space);
    input.Tap(Key::Escape);
    const Controls first = ReadInput(), second = ReadInput();
    EXPECT_TRUE(first.start);
    EXPECT_TRUE(first.back);
    EXPECT_FALSE(first.fly.place) << "a gate only while Space is down";
    EXPECT_FALSE(second.start) << "the tap is counted in one update only";
    EXPECT_FALSE(second.back);
}

}  // namespace
