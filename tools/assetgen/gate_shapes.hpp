// Sizes of the gate-passing meshes, shared by the generator and the course checker.
#pragma once

namespace gate_shapes {

// "CheckPoint.x": an upright panel in the gate's xy-plane. Main-course gates stand 110 units
// below the flight path, so the panel reaches from below the gate to far above the player.
constexpr float kMainHalfWidth = 200.0f;
constexpr float kMainBottom = -120.0f;
constexpr float kMainTop = 380.0f;

// "CheckPoint2.x": the enemy gates' panel, centred on the gate.
constexpr float kEnemyHalfSize = 40.0f;

// The goal ring of "gate.x" around its underground origin.
constexpr float kGoalRingRadius = 150.0f;

}  // namespace gate_shapes
