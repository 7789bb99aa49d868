// The player's gun: mounted above and behind the craft, banking with the steering keys and
// always pointing at the aim point (the camera's target).
#pragma once

#include "math/math.hpp"

class ModelCache;

class Weapon {
public:
    // Puts the gun on its mount of the player's craft and loads its model through `models`,
    // which must outlive the gun.
    Weapon(const Matrix& playerWorld, ModelCache& models);

    // Follows the player and points the gun at aimPoint. The bank decays and answers the slide
    // controls (left, then right) on every call, so it moves as often as the scene calls this.
    void Aim(const Matrix& playerWorld, Vec3 aimPoint, bool slideLeft, bool slideRight);
    void Draw() const;

    Matrix offset = MatrixTranslation(0.0f, 1.5f, -0.655f);  // the mount in the player's frame
    Matrix world;                                             // +z points at the aim point
    float roll = 0.0f;                                        // bank in degrees, -40 ... 40
    Vec3 rotAxis;  // the player's up axis as the last Aim used it; the overlay shows it

private:
    ModelCache& models_;
};
