// What of a model can show: a box in the model's own frame against the view volume, with the
// model's world, view and projection as one matrix. Skipping what cannot show spares the
// software rasteriser the setup of triangles the device would clip away anyway; the picture
// stays the same to the pixel.
#pragma once

#include <optional>

#include "math/math.hpp"

class Effect;

class ViewVolume {
public:
    // The six planes (left, right, bottom, top, near at depth 0, far at depth 1) of the volume
    // that `toClip` (world by view by projection) maps onto the picture, in the model's frame.
    explicit ViewVolume(const Matrix& toClip);
    // False only when all eight corners of the box, widened by `grow` on every side (an outline
    // pushed out along the normals), lie beyond one and the same plane: every point of the box,
    // and so every triangle in it, is then clipped away.
    bool MayShow(const Vec3& min, const Vec3& max, float grow = 0.0f) const;

private:
    Vec4 planes_[6];  // inside where x·p + y·q + z·r + w ≥ 0, p the point
    Vec4 w_;          // the clip w as the same kind of plane
};

// The volume the effect's vertex shaders place a model in: "mW" by "mV" by "mP". None when the
// effect lacks one of them; the caller then draws everything.
std::optional<ViewVolume> EffectViewVolume(const Effect& effect);
