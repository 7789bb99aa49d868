// The game scene's chase camera. Its first two values are the pitch and the yaw that the mouse
// turns; the rest of the camera joins them when the game scene does.
#pragma once

#include "math/math.hpp"

class Camera {
public:
    float pitch = 0.0f;  // degrees, about the player's own x axis; -80 ... 15
    float yaw = 0.0f;    // degrees, about the own y axis, after the pitch; unlimited
    float fov = 80.0f;   // vertical field of view, degrees
};
