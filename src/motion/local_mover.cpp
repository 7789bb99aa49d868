// Local moves, ground following, pose blending and the turn towards a gate.
#include "motion/local_mover.hpp"

#include <cmath>

#include "graphics/model.hpp"

namespace LocalMover {

void MoveForward(Matrix& world, float distance) { world = MatrixTranslation(0, 0, distance) * world; }
void MoveSideways(Matrix& world, float distance) { world = MatrixTranslation(distance, 0, 0) * world; }
void MoveUp(Matrix& world) { world = MatrixTranslation(0, 1, 0) * world; }
void MoveDown(Matrix& world) { world = MatrixTranslation(0, -1, 0) * world; }
void TurnLeft(Matrix& world) { world = MatrixRotationY(-kTurnStepRadians) * world; }
void TurnRight(Matrix& world) { world = MatrixRotationY(kTurnStepRadians) * world; }

namespace {

// A ray from an own-frame point along the own down axis, carried through the body's world into
// the map's frame; the distance is in world units as long as neither matrix scales.
bool DownDistance(const Matrix& world, const Matrix& mapInverse, const Model& map, Vec3 ownOrigin, float* distance) {
    const Vec3 origin = Vec3TransformCoord(Vec3TransformCoord(ownOrigin, world), mapInverse);
    const Vec3 direction = Vec3TransformNormal(Vec3TransformNormal({0, -1, 0}, world), mapInverse);
    const platform::RayHit hit = map.Intersect(origin, direction);
    if (hit.hit) *distance = hit.distance;
    return hit.hit;
}

}  // namespace

void FollowGround(Matrix& world, const Matrix& mapWorld, const Model& map) {
    const Matrix mapInverse = MatrixInverse(mapWorld);
    float below = 0;
    if (DownDistance(world, mapInverse, map, {0, 0, 0}, &below))
        world = MatrixTranslation(0, kGroundHeight - below, 0) * world;

    float ahead = 0, behind = 0, right = 0, left = 0;
    const bool all = DownDistance(world, mapInverse, map, {0, 0, 1}, &ahead) &&
                     DownDistance(world, mapInverse, map, {0, 0, -1}, &behind) &&
                     DownDistance(world, mapInverse, map, {1, 0, 0}, &right) &&
                     DownDistance(world, mapInverse, map, {-1, 0, 0}, &left);
    if (!all) return;
    // Half the difference over the 2-unit spacing is the slope's tangent.
    const float pitch = std::atan((ahead - behind) * 0.5f) / kTiltDivisor;
    world = MatrixRotationX(pitch) * world;
    const float roll = std::atan((right - left) * 0.5f) / -kTiltDivisor;
    world = MatrixRotationZ(roll) * world;
}

}  // namespace LocalMover

Matrix BlendPose(const Matrix& from, const Matrix& to, float t) {
    const Quat q = QuaternionSlerp(QuaternionRotationMatrix(from), QuaternionRotationMatrix(to), t);
    Matrix out = MatrixRotationQuaternion(q);
    const Vec3 a = from.Row(3), b = to.Row(3);
    out.SetRow(3, a + (b - a) * t);
    out.m[3][3] = 1.0f;
    return out;
}

Matrix TurnTarget(const Matrix& world, Vec3 gatePosition) {
    const Vec3 up = Vec3Normalize(Vec3TransformNormal({0, 1, 0}, world));
    const Vec3 aim = gatePosition + up * 110.0f;
    return MatrixInverse(MatrixLookAtLH(world.Row(3), aim, up));
}

void TurnTowardsGate(Matrix& world, float& turn, float increment, Vec3 gatePosition, bool gateIsGoal) {
    if (turn >= 1.0f || gateIsGoal) return;
    world = BlendPose(world, TurnTarget(world, gatePosition), turn);
    turn += increment;
}
