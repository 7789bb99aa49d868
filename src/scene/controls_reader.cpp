// The controls snapshot.
#include "scene/controls_reader.hpp"

#include "graphics/graphics_device.hpp"

using platform::Key;

platform::Point PictureMiddle(platform::Input& input) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    return input.ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2});
}

Controls ReadControls(platform::Input& input, platform::Point middle, const LookFeel& feel) {
    // Every control the game acts on once per press counts a press seen since the last update,
    // so a tap that began and ended between two drawn frames still reaches one update; held
    // controls read "down now" or pressed since the last update, so a tap acts for one update.
    const auto downOrPressed = [&input](Key key) { return input.AsyncKeyState(key) != 0; };
    Controls c;
    c.feel = feel;
    c.slideLeft = input.KeyDown(Key::A);
    c.slideRight = input.KeyDown(Key::D);
    c.fire = downOrPressed(Key::LeftButton);
    const platform::Point cursor = input.GetCursorPos();
    c.lookX = cursor.x - middle.x;
    c.lookY = cursor.y - middle.y;
    const int16_t space = input.AsyncKeyState(Key::Space);
    c.start = space != 0;
    c.back = downOrPressed(Key::Escape);

    FlyKeys& f = c.fly;
    f.forward = input.KeyDown(Key::W);
    f.backward = input.KeyDown(Key::S);
    f.turnLeft = c.slideLeft;
    f.turnRight = c.slideRight;
    f.up = input.KeyDown(Key::R);
    f.down = input.KeyDown(Key::F);
    f.left = input.KeyDown(Key::Q);
    f.right = input.KeyDown(Key::E);
    f.walk = (input.AsyncKeyState(Key::Z) & 1) != 0;
    f.place = (space & 1) != 0;
    return c;
}
