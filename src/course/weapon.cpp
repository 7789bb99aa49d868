// The player's gun.
#include "course/weapon.hpp"

#include <algorithm>
#include <string>

#include "graphics/game_effects.hpp"
#include "graphics/model_cache.hpp"

namespace {

constexpr const char* kWeaponModel = "data/model/weapon.x";
constexpr float kBankStep = 1.5f;   // degrees per call while A or D is held
constexpr float kBankLimit = 40.0f;
// Below this the aim point lies on the gun's up line (or on the eye) and gives no direction.
constexpr float kDegenerate = 1e-6f;

}  // namespace

Weapon::Weapon(const Matrix& playerWorld, ModelCache& models) : world(offset * playerWorld), models_(models) {
    models_.Get(kWeaponModel);
}

void Weapon::Aim(const Matrix& playerWorld, Vec3 aimPoint, bool slideLeft, bool slideRight) {
    roll -= roll / 10.0f;
    if (slideLeft) roll = std::min(roll + kBankStep, kBankLimit);
    if (slideRight) roll = std::max(roll - kBankStep, -kBankLimit);

    const Matrix mount = offset * MatrixRotationZ(roll * kDegToRad) * playerWorld;
    const Vec3 eye = mount.Row(3);
    rotAxis = Vec3Normalize(Vec3TransformNormal({0, 1, 0}, playerWorld));

    // The inverse of the look-at view from the eye: its axes become the gun's rows.
    const Vec3 toAim = aimPoint - eye;
    const Vec3 side = Vec3Cross(rotAxis, toAim);
    if (Vec3Length(toAim) < kDegenerate || Vec3Length(side) < kDegenerate * Vec3Length(toAim)) {
        // No direction to look along: keep the last orientation, but stay on the mount.
        world.SetRow(3, eye);
        return;
    }
    const Vec3 z = Vec3Normalize(toAim);
    const Vec3 x = Vec3Normalize(side);
    world = Matrix::Identity();
    world.SetRow(0, x);
    world.SetRow(1, Vec3Cross(z, x));
    world.SetRow(2, z);
    world.SetRow(3, eye);
}

void Weapon::Draw() const {
    GameEffects::Instance().simpleShader.Draw(models_.Get(kWeaponModel), world);
}
