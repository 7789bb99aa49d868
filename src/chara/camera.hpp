// The game scene's chase camera: it rides behind and above the player in the player's own
// frame, swung by the pitch and yaw that the mouse turns, and finds the aim point where its
// line of sight meets the sky. After the run it shakes behind a destroyed player or swings
// round to a view of the player from the front.
#pragma once

#include <random>

#include "math/math.hpp"

class ModelCache;

class Camera {
public:
    static constexpr float kNear = 0.01f, kFar = 10000.0f;
    static constexpr float kSwingStep = 0.05f;  // of the swing to the end view, per update

    // Until the first update the camera stands at the origin looking along +z (world, view and
    // projection identity) and aims at the origin, so an early SetView or aim is harmless. The
    // sky model is read through `models`, which must outlive the camera.
    explicit Camera(ModelCache& models) : models_(models) {}

    // Normal play: sets the projection on the device, places the camera behind the player and
    // finds the aim point on "data/model/Sky.x" placed by skyWorld (kept on a miss). The view
    // is written by SetView.
    void Update(const Matrix& playerWorld, const Matrix& skyWorld);
    // After the run, endFrames updates after it ended: with hitsLeft below 0 (destroyed) the
    // chase view shakes during frames 1 to 99; otherwise the view swings over 20 updates to the
    // end view in front of the player and stays there. Writes the view; aims just ahead.
    void UpdateEnd(const Matrix& playerWorld, int endFrames, int hitsLeft);
    // view = inverse of world, set on the device.
    void SetView();

    float pitch = 0.0f;      // degrees about the player's own x axis; the mouse keeps it in -80 ... 15
    float yaw = 0.0f;        // degrees about the own y axis, after the pitch; unlimited
    float fov = 80.0f;       // vertical field of view, degrees
    float rayDistance = -1.0f;  // of the last aim ray to the sky; -1 when it missed
    float endBlend = 0.0f;   // progress of the swing to the end view, 0 ... 1; only ever rises
    Vec3 target;             // the aim point the gun points at
    Matrix view = Matrix::Identity();
    Matrix projection = Matrix::Identity();
    Matrix world = Matrix::Identity();

private:
    void SetProjection();

    ModelCache& models_;
    // The shake's own generator, seeded the same for every camera, so every lost run shakes
    // alike.
    std::mt19937 shake_{10};
};
