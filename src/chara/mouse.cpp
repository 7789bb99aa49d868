// The mouse as a joystick.
#include "chara/mouse.hpp"

#include <algorithm>
#include <cmath>

#include "chara/camera.hpp"
#include "chara/controls.hpp"

namespace {
// A tenth of the offset back towards the middle, truncated towards zero.
int PullBack(int offset) { return static_cast<int>(std::trunc(offset / -10.0)); }
// The pitch turned by `by` degrees, held at the limit it turns towards (only that one: a pitch
// already past the other stays where it is).
float Tilt(float pitch, double by) {
    const float turned = float(pitch + by);
    return by < 0 ? std::max(Mouse::kPitchMin, turned) : std::min(Mouse::kPitchMax, turned);
}
}  // namespace

CursorOffset Mouse::Update(Camera& camera, CursorOffset cursor, const LookFeel& feel) const {
    float pitch = camera.pitch, yaw = camera.yaw;
    // At the default feel (1, not inverted) these are the cursor's offsets exactly.
    const double turnX = feel.sensitivity, turnY = feel.invertVertical ? -feel.sensitivity : feel.sensitivity;

    // The horizontal pull-back and its limit; the limit does not feed back into x itself.
    int x = cursor.x;
    if (x < -kDeadZone) {
        yaw += float(x * turnX / 100.0);
        x += PullBack(x);
        cursor.x = x;
        if (x < -kMaxOffset) cursor.x = -kMaxOffset;
    }
    if (x > kDeadZone) {
        yaw += float(x * turnX / 100.0);
        x += PullBack(x);
        cursor.x = x;
        if (x > kMaxOffset) cursor.x = kMaxOffset;
    }

    int y = cursor.y;
    if (y < -kDeadZone) {
        pitch = Tilt(pitch, y * turnY / 100.0);
        y += PullBack(y);
        cursor.y = y;
        if (y < -kMaxOffset) cursor.y = -kMaxOffset;
    }
    if (y > kDeadZone) {
        pitch = Tilt(pitch, y * turnY / 100.0);
        y += PullBack(y);
        cursor.y = y;
        if (y > kMaxOffset) cursor.y = kMaxOffset;
    }
    camera.pitch = pitch;
    camera.yaw = yaw;
    return cursor;
}
