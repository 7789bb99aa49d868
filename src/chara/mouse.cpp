// The mouse as a joystick.
#include "chara/mouse.hpp"

#include <algorithm>
#include <cmath>

#include "chara/camera.hpp"
#include "graphics/graphics_device.hpp"

using namespace platform;

Mouse::Mouse() {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    centre = GetInput().ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2});
}

namespace {
// A tenth of the offset back towards the middle, truncated towards zero.
int PullBack(int offset) { return static_cast<int>(std::trunc(offset / -10.0)); }
}  // namespace

void Mouse::Update(Camera& camera) const {
    Input& input = GetInput();
    float pitch = camera.pitch, yaw = camera.yaw;
    const int cx = centre.x, cy = centre.y;

    Point p = input.GetCursorPos();
    int x = p.x;
    if (x < cx - kDeadZone) {
        yaw += float((x - cx) / 100.0);
        x += PullBack(x - cx);
        input.SetCursorPos({x, p.y});
        if (x < cx - kMaxOffset) input.SetCursorPos({cx - kMaxOffset, p.y});
    }
    if (x > cx + kDeadZone) {
        yaw += float((x - cx) / 100.0);
        x += PullBack(x - cx);
        input.SetCursorPos({x, p.y});
        if (x > cx + kMaxOffset) input.SetCursorPos({cx + kMaxOffset, p.y});
    }

    // The vertical step sees the horizontal correction.
    p = input.GetCursorPos();
    int y = p.y;
    if (y < cy - kDeadZone) {
        pitch = std::max(kPitchMin, float(pitch + (y - cy) / 100.0));
        y += PullBack(y - cy);
        input.SetCursorPos({p.x, y});
        if (y < cy - kMaxOffset) input.SetCursorPos({p.x, cy - kMaxOffset});
    }
    if (y > cy + kDeadZone) {
        pitch = std::min(kPitchMax, float(pitch + (y - cy) / 100.0));
        y += PullBack(y - cy);
        input.SetCursorPos({p.x, y});
        if (y > cy + kMaxOffset) input.SetCursorPos({p.x, cy + kMaxOffset});
    }
    camera.pitch = pitch;
    camera.yaw = yaw;
}

void Mouse::ApplyStrafeKeys(Matrix& world) {
    Input& input = GetInput();
    if (input.KeyDown(Key::A)) world = MatrixTranslation(-kStrafeStep, 0, 0) * world;
    if (input.KeyDown(Key::D)) world = MatrixTranslation(kStrafeStep, 0, 0) * world;
}
