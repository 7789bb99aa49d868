// The units in the picture.
#include "pilot/sight.hpp"

#include "chara/camera.hpp"
#include "chara/enemy.hpp"

Matrix CameraViewProjection(const Camera& camera, float aspect) {
    return MatrixInverse(camera.world) * MatrixPerspectiveFovLH(camera.fov * kDegToRad, aspect, Camera::kNear, Camera::kFar);
}

bool InPicture(const Matrix& viewProjection, Vec3 point) {
    const Vec4 clip = Vec4Transform({point.x, point.y, point.z, 1.0f}, viewProjection);
    if (clip.w <= 0.0f) return false;
    return clip.x >= -clip.w && clip.x <= clip.w && clip.y >= -clip.w && clip.y <= clip.w && clip.z >= 0.0f &&
           clip.z <= clip.w;
}

std::vector<SeenUnit> UnitsInView(const std::vector<std::unique_ptr<CharaBase>>& characters, const Matrix& viewProjection) {
    std::vector<SeenUnit> seen;
    for (size_t i = 1; i < characters.size(); ++i) {
        const auto* enemy = dynamic_cast<const Enemy*>(characters[i].get());
        if (!enemy || !enemy->released) continue;
        for (int k = 0; k < Enemy::kUnitCount; ++k) {
            const EnemyUnit& unit = enemy->units[k];
            if (!unit.alive) continue;
            const Vec3 position = unit.world.Row(3);
            if (InPicture(viewProjection, position)) seen.push_back({int(i) - 1, k, position, unit.dying == 0});
        }
    }
    return seen;
}
