// The controls snapshot read from scripted input: which key moves which control, the look
// measured from the middle of the picture on the screen, and taps between two updates counted
// once.
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

// A slow machine draws a few frames a second and samples the devices once a frame: a tap that
// began and ended in between must still act, in one update only, as a press held across frames.
TEST_F(ControlsReader, ATapBetweenTwoUpdatesActsOnceLikeAPress) {
    const struct Case {
        Key key;
        std::function<bool(const Controls&)> acts;
    } cases[] = {
        {Key::Space, [](const Controls& c) { return c.start; }},
        {Key::Space, [](const Controls& c) { return c.fly.place; }},
        {Key::Escape, [](const Controls& c) { return c.back; }},
        {Key::LeftButton, [](const Controls& c) { return c.fire; }},
        {Key::Z, [](const Controls& c) { return c.fly.walk; }},
    };
    for (const Case& c : cases) {
        input.Tap(c.key);
        EXPECT_TRUE(c.acts(ReadInput())) << "tapped: " << int(c.key);
        EXPECT_FALSE(c.acts(ReadInput())) << "tapped, the next update: " << int(c.key);
    }
    // Held, the editor's presses act once; released and pressed again between two updates, once more.
    input.SetKey(Key::Z, true);
    input.SetKey(Key::Space, true);
    std::vector<int> walk, place;
    for (int update = 0; update < 3; ++update) {
        if (update == 2) {
            input.SetKey(Key::Z, false);
            input.SetKey(Key::Z, true);
        }
        const Controls c = ReadInput();
        walk.push_back(c.fly.walk);
        place.push_back(c.fly.place);
    }
    EXPECT_EQ(walk, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(place, (std::vector<int>{1, 0, 0}));
}

}  // namespace
