// The game scene's chase camera. Its first two values are the pitch and the yaw that the mouse
// turns; the rest of the camera joins them when the game scene does.
#pragma once

#include "math/math.hpp"
#include "motion/camera_angles.hpp"

class Camera : public CameraAngles {
public:
    float fov = 80.0f;  // vertical field of view, degrees
};
