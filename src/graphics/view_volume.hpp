// What of a model can show: a box in the model's own frame against the view volume, with the
// model's world, view and projection as one matrix. Skipping what cannot show spares the
// software rasteriser the setup of triangles the device would clip away anyway; the picture
// stays the same to the pixel.
#pragma once

#include "math/math.hpp"

class Effect;

// False only when all eight corners lie beyond one and the same plane of the view volume
// (left, right, top, bottom, near at depth 0, far at depth 1): every point of the box, and so
// every triangle in it, is then clipped away. `grow` widens the box on every side (an outline
// pushed out along the normals).
bool BoxMayShow(const Vec3& min, const Vec3& max, const Matrix& toClip, float grow = 0.0f);

// The effect's placement as its vertex shaders apply it: "mW" by "mV" by "mP". False when the
// effect lacks one of them; the caller then draws everything.
bool EffectToClip(const Effect& effect, Matrix* toClip);
