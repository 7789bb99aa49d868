// One visible member of an enemy's chain: it follows the lead point's recorded path, weaving
// across the band between the side lines, until a blast destroys it; then it tumbles up and
// away behind its explosion sprite and is gone.
#pragma once

#include <cstdint>

#include "math/math.hpp"

struct EnemyUnit {
    EnemyUnit() = default;
    // Draws phase, lag and spinRate, in that order, from a Mersenne Twister seeded with `seed`.
    explicit EnemyUnit(uint32_t seed);

    Matrix world = Matrix::Identity();
    int phase = 0;          // weave phase 0 ... 120, 3 degrees per step
    float lag = 0;          // [0, 1): where the unit sits between its two trail entries
    bool alive = true;      // false once its explosion has run out; skipped everywhere then
    bool dying = false;     // from the update a blast destroys it
    float spinYaw = 0;      // tumbling angles while dying, degrees
    float spinPitch = 0;
    float spinRoll = 0;
    float spinRate = 0;     // degrees per dying update, [-30, 30)
    float rise = 1.3f;      // upward move per dying update; falls by 0.03 each update
    Vec3 knockback;         // unit vector from the destroying blast to the unit
    int dyingUpdates = 0;
    int flashFrame = 0;     // frame of the 16-frame explosion strip
    float flashFrameTime = 0;
    Matrix billboard = Matrix::Identity();  // the explosion sprite's pose, facing the camera
};
