// The mouse as a joystick: how far the cursor stands from the middle of the picture turns the
// camera, and each frame the cursor is drawn a tenth of the way back towards the middle.
// Also the A/D strafe that the player uses.
#pragma once

#include "math/math.hpp"
#include "platform/window/input.hpp"

class Camera;

class Mouse {
public:
    static constexpr int kDeadZone = 15;      // pixels around the middle that turn nothing
    static constexpr int kMaxOffset = 250;    // the cursor is never left further out
    static constexpr float kPitchMin = -80.0f, kPitchMax = 15.0f;
    static constexpr float kStrafeStep = 1.5f;  // units per update

    // The middle of the back buffer, in screen coordinates of the game window.
    Mouse();
    // Turns the camera by the cursor's offset and pulls the cursor back.
    void Update(Camera& camera) const;
    // Moves the world matrix sideways in its own frame while A (left) or D (right) is held.
    static void ApplyStrafeKeys(Matrix& world);

    platform::Point centre;
};
