// The mouse as a joystick.
#include "chara/mouse.hpp"

#include <algorithm>
#include <cmath>

#include "chara/camera.hpp"

namespace {
// A tenth of the offset back towards the middle, truncated towards zero.
int PullBack(int offset) { return static_cast<int>(std::trunc(offset / -10.0)); }
}  // namespace

CursorOffset Mouse::Update(Camera& camera, CursorOffset cursor) const {
    float pitch = camera.pitch, yaw = camera.yaw;

    // The horizontal pull-back and its limit; the limit does not feed back into x itself.
    int x = cursor.x;
    if (x < -kDeadZone) {
        yaw += float(x / 100.0);
        x += PullBack(x);
        cursor.x = x;
        if (x < -kMaxOffset) cursor.x = -kMaxOffset;
    }
    if (x > kDeadZone) {
        yaw += float(x / 100.0);
        x += PullBack(x);
        cursor.x = x;
        if (x > kMaxOffset) cursor.x = kMaxOffset;
    }

    int y = cursor.y;
    if (y < -kDeadZone) {
        pitch = std::max(kPitchMin, float(pitch + y / 100.0));
        y += PullBack(y);
        cursor.y = y;
        if (y < -kMaxOffset) cursor.y = -kMaxOffset;
    }
    if (y > kDeadZone) {
        pitch = std::min(kPitchMax, float(pitch + y / 100.0));
        y += PullBack(y);
        cursor.y = y;
        if (y > kMaxOffset) cursor.y = kMaxOffset;
    }
    camera.pitch = pitch;
    camera.yaw = yaw;
    return cursor;
}
