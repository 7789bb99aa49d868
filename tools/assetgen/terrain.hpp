// The world's ground: a canyon that circles a central mesa. Every map mesh samples Height(),
// and the course is laid along the canyon's centre line.
#pragma once

#include "math/math.hpp"

namespace terrain {

// Half the width of the flat canyon floor, and where the walls reach the rim.
constexpr float kFloorHalfWidth = 210.0f;
constexpr float kRimOffset = 430.0f;
// The maps reach this far outside the centre line (and cover the whole mesa inside it).
constexpr float kMapMargin = 900.0f;

// Radius of the centre line at angle theta (radians) around the world origin.
float CentreRadius(float theta);
// Height of the canyon floor along the centre line.
float FloorHeight(float theta);
// The centre line point at theta: x = -r cos(theta), z = r sin(theta); theta = 0 lies west
// of the origin and the line heads north (+z) there, turning right all the way round.
Vec3 CentrePoint(float theta);  // y = floor height
// Angle of the centre line nearest to (x, z) in the polar sense, and the signed distance from
// it (positive outside the ring, negative towards the mesa).
float ThetaAt(float x, float z);
float OffsetAt(float x, float z);

// Ground height at (x, z).
float Height(float x, float z);
// True where the map meshes have ground.
bool Covered(float x, float z);

}  // namespace terrain
