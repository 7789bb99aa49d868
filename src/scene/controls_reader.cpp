// The controls snapshot.
#include "scene/controls_reader.hpp"

#include <algorithm>
#include <array>

#include "graphics/graphics_device.hpp"

using platform::Key;

platform::Point PictureMiddle(platform::Input& input) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    return input.ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2});
}

Controls ReadControls(platform::Input& input, platform::Point middle, const LookFeel& feel) {
    // Every key is asked exactly once: asking clears its "pressed since" flag. Every control the
    // game acts on once per press counts a press seen since the last update, so a tap that began
    // and ended between two drawn frames still reaches one update; held controls read "down now"
    // or pressed since the last update, so a tap acts for one update.
    std::array<int16_t, size_t(Key::Count)> state{};
    for (size_t k = 0; k < state.size(); ++k) state[k] = input.AsyncKeyState(Key(k));
    const auto down = [&](Key key) { return state[size_t(key)] < 0; };
    const auto downOrPressed = [&](Key key) { return state[size_t(key)] != 0; };
    Controls c;
    c.feel = feel;
    c.anyPress = std::any_of(state.begin(), state.end(), [](int16_t s) { return s != 0; });
    c.slideLeft = down(Key::A);
    c.slideRight = down(Key::D);
    c.fire = downOrPressed(Key::LeftButton);
    const platform::Point cursor = input.GetCursorPos();
    c.lookX = cursor.x - middle.x;
    c.lookY = cursor.y - middle.y;
    const int16_t space = state[size_t(Key::Space)];
    c.start = space != 0;
    c.back = downOrPressed(Key::Escape);

    FlyKeys& f = c.fly;
    f.forward = down(Key::W);
    f.backward = down(Key::S);
    f.turnLeft = c.slideLeft;
    f.turnRight = c.slideRight;
    f.up = down(Key::R);
    f.down = down(Key::F);
    f.left = down(Key::Q);
    f.right = down(Key::E);
    f.walk = (state[size_t(Key::Z)] & 1) != 0;
    f.place = (space & 1) != 0;
    return c;
}
