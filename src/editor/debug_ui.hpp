// The developer overlay. Off unless the game is started with --dev; while on, the UI frame
// that the main loop begins every frame is drawn over the picture, and the overlay's flight
// controls and free look replace the player's steering and the mouse look. For now it shows
// the frame rate and the camera's state; the course editor joins it later.
#pragma once

#include <cstdint>

#include "math/math.hpp"
#include "motion/camera_angles.hpp"

class Model;

class DebugUi {
public:
    static constexpr float kFlyStep = 2.0f;        // W/S and Q/E, units per update
    static constexpr int kLookDeadZone = 25;       // pixels around the middle that turn nothing
    static constexpr float kLookPitchMin = -20.0f, kLookPitchMax = 15.0f;

    // Issues this frame's overlay windows; call between the UI frame's start and its drawing.
    void Draw(uint32_t framesPerSecond, int frameCount);
    void Release() { enabled = 0; }

    // Flies the player with the editor keys instead of its own steering: Z toggles walk mode
    // (once per press), walk mode keeps the player on `map` placed by mapWorld, then W S A D
    // R F Q E each apply one step in the player's own frame, in that order.
    void FlyControls(Matrix& playerWorld, const Matrix& mapWorld, const Model& map);
    // Turns the camera by the cursor's offset from the middle of the picture, at a rate of a
    // hundredth of a degree per pixel per update outside a 25-pixel dead zone; the cursor is
    // left where it is. The angles are written only in walk mode, so otherwise the cursor is
    // free for the overlay's windows.
    void FreeLook(CameraAngles& camera) const;

    // The chase camera's "CamState" window: the aim ray's distance (-1 for a miss), the player's
    // position and the aim point. Nothing outside a UI frame (headless, tools).
    static void ShowCameraState(float rayDistance, Vec3 playerPosition, Vec3 target);
    // One line of text in the UI's default window ("Debug"), as printf formats it. Nothing
    // outside a UI frame.
    static void DebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));

    int enabled = 0;       // non-zero: the overlay is drawn and its controls are active
    int walkMode = 0;      // the fly controls follow the ground and the cursor turns the camera
    int walkKeyLatch = 0;  // Z was down in the previous update
};

// Created and deleted by the scene manager.
extern DebugUi* gDebugUi;
