// The chase camera.
#include "chara/camera.hpp"

#include <algorithm>

#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "motion/local_mover.hpp"

using platform::TransformType;

namespace {

constexpr const char* kSkyModel = "data/model/Sky.x";
constexpr float kEndPitch = 0.34906584f;  // 20 degrees: looking down at the player
constexpr float kEndYaw = 3.3161256f;     // 190 degrees: from in front, a little to its left

// Offset in the player's frame, then the pitch, then the yaw, then the player.
Matrix Pose(Vec3 offset, float pitch, float yaw, const Matrix& playerWorld) {
    return MatrixTranslation(offset.x, offset.y, offset.z) * MatrixRotationX(pitch) * MatrixRotationY(yaw) *
           playerWorld;
}

}  // namespace

void Camera::SetProjection() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const float aspect = float(gd.presentParams.backBufferWidth) / float(gd.presentParams.backBufferHeight);
    projection = MatrixPerspectiveFovLH(fov * kDegToRad, aspect, kNear, kFar);
    gd.device->SetTransform(TransformType::Projection, projection);
}

void Camera::Update(const Matrix& playerWorld, const Matrix& skyWorld) {
    SetProjection();
    world = Pose({0, 6, -12}, pitch * kDegToRad, yaw * kDegToRad, playerWorld);

    const Vec3 position = world.Row(3);
    const Vec3 direction = Vec3TransformNormal({0, 0, 1}, world);
    const Matrix skyInverse = MatrixInverse(skyWorld);
    const platform::RayHit hit = models_.Get(kSkyModel)->Intersect(Vec3TransformCoord(position, skyInverse),
                                                                  Vec3TransformNormal(direction, skyInverse));
    rayDistance = -1.0f;
    if (hit.hit) {
        rayDistance = hit.distance;
        target = position + Vec3Normalize(direction) * rayDistance;
    }
}

void Camera::UpdateEnd(const Matrix& playerWorld, int endFrames, int hitsLeft) {
    const bool destroyed = hitsLeft < 0;
    float sx = 0, sy = 0;
    if (destroyed && endFrames >= 1 && endFrames <= 99) {
        // Up to 9 units up and right at first, nothing from frame 90 on; vertical drawn first.
        const unsigned n = unsigned(10 - endFrames / 10);
        sy = float(shake_() % n);
        sx = float(shake_() % n);
    }
    SetProjection();
    const Matrix chase = Pose({sx, sy + 6, -12}, pitch * kDegToRad, yaw * kDegToRad, playerWorld);
    if (destroyed) {
        world = chase;
    } else {
        const Matrix end = Pose({sx + 3, sy + 4, -10}, kEndPitch, kEndYaw, playerWorld);
        world = BlendPose(chase, end, endBlend);
        endBlend = std::min(1.0f, endBlend + kSwingStep);
    }
    SetView();
    target = Vec3TransformCoord({0, 1, 1}, playerWorld);
}

void Camera::SetView() {
    view = MatrixInverse(world);
    GraphicsDevice::Instance().device->SetTransform(TransformType::View, view);
}
