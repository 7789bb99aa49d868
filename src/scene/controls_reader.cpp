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

Controls ReadControls(platform::Input& input, platform::Point middle) {
    // Every key is asked exactly once: asking clears its "pressed since" flag.
    std::array<int16_t, size_t(Key::Count)> state{};
    for (size_t k = 0; k < state.size(); ++k) state[k] = input.AsyncKeyState(Key(k));
    auto down = [&](Key key) { return state[size_t(key)] < 0; };
    Controls c;
    c.anyPress = std::any_of(state.begin(), state.end(), [](int16_t s) { return s != 0; });
    c.slideLeft = down(Key::A);
    c.slideRight = down(Key::D);
    c.fire = down(Key::LeftButton);
    const platform::Point cursor = input.GetCursorPos();
    c.lookX = cursor.x - middle.x;
    c.lookY = cursor.y - middle.y;
    // Space and Escape count a tap between two updates as well as a held key.
    const int16_t space = state[size_t(Key::Space)];
    c.start = space != 0;
    c.back = state[size_t(Key::Escape)] != 0;

    FlyKeys& f = c.fly;
    f.forward = down(Key::W);
    f.backward = down(Key::S);
    f.turnLeft = c.slideLeft;
    f.turnRight = c.slideRight;
    f.up = down(Key::R);
    f.down = down(Key::F);
    f.left = down(Key::Q);
    f.right = down(Key::E);
    f.walk = down(Key::Z);
    f.place = space < 0;
    return c;
}
