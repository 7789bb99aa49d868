// The controls snapshot.
#include "scene/controls_reader.hpp"

#include "graphics/graphics_device.hpp"

using platform::Key;

platform::Point PictureMiddle(platform::Input& input) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    return input.ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2});
}

Controls ReadControls(platform::Input& input, platform::Point middle, const LookFeel& feel) {
    Controls c;
    c.feel = feel;
    c.slideLeft = input.KeyDown(Key::A);
    c.slideRight = input.KeyDown(Key::D);
    c.fire = input.KeyDown(Key::LeftButton);
    const platform::Point cursor = input.GetCursorPos();
    c.lookX = cursor.x - middle.x;
    c.lookY = cursor.y - middle.y;
    // Space and Escape count a tap between two updates as well as a held key.
    const int16_t space = input.AsyncKeyState(Key::Space);
    c.start = space != 0;
    c.back = input.AsyncKeyState(Key::Escape) != 0;

    FlyKeys& f = c.fly;
    f.forward = input.KeyDown(Key::W);
    f.backward = input.KeyDown(Key::S);
    f.turnLeft = c.slideLeft;
    f.turnRight = c.slideRight;
    f.up = input.KeyDown(Key::R);
    f.down = input.KeyDown(Key::F);
    f.left = input.KeyDown(Key::Q);
    f.right = input.KeyDown(Key::E);
    f.walk = input.KeyDown(Key::Z);
    f.place = space < 0;
    return c;
}
