// The moves every flying thing of the game is made of, each one product in the body's own
// frame (world = T x world); the ground following that keeps a body 7 units above a map and
// tilts it to the slope; the pose blend; and the turn towards the next gate.
#pragma once

#include "math/math.hpp"

class Model;

namespace LocalMover {

constexpr float kTurnStepRadians = 0.008726646f;  // half a degree
constexpr float kGroundHeight = 7.0f;              // units above the map, along the own up axis
constexpr float kTiltDivisor = 20.0f;              // a twentieth of the slope angle per call

void MoveForward(Matrix& world, float distance);
void MoveSideways(Matrix& world, float distance);
void MoveUp(Matrix& world);    // one unit
void MoveDown(Matrix& world);  // one unit
void TurnLeft(Matrix& world);  // half a degree about the own y axis
void TurnRight(Matrix& world);

// Puts the body 7 units above the surface straight below it (along its own down axis), then
// tilts it a twentieth of the way towards the slope measured by four probes one unit ahead,
// behind, right and left. The map is placed by mapWorld; rays are carried into its frame.
// Where the height ray finds no ground (off the map's edge, over a hole) the height is left as
// it was for this call; the probes and the tilt work as usual. A probe that misses suppresses
// the tilt of this call only.
void FollowGround(Matrix& world, const Matrix& mapWorld, const Model& map);

}  // namespace LocalMover

// Rotation slerped and position lerped from `from` to `to` by t (not clamped).
Matrix BlendPose(const Matrix& from, const Matrix& to, float t);

// The pose that faces a point 110 units above the gate along the body's own up axis, at the
// body's own position.
Matrix TurnTarget(const Matrix& world, Vec3 gatePosition);

// One update of the turn towards the gate a body heads for: while `turn` is below 1 and the
// gate is not a goal, the body is blended towards TurnTarget by `turn`, which then grows by
// `increment`. Blending from the present pose makes the turn start gently.
void TurnTowardsGate(Matrix& world, float& turn, float increment, Vec3 gatePosition, bool gateIsGoal);
