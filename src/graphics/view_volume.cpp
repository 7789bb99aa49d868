// The box against the planes of the view volume, each a linear function of the point: its
// largest value over the box is at the centre plus the half size weighed by the plane's slopes.
#include "graphics/view_volume.hpp"

#include <cmath>
#include <cstring>

#include "graphics/effect.hpp"

namespace {

// Column j of the matrix: the clip coordinate j as a linear function of the point.
Vec4 Column(const Matrix& m, int j) { return {m.m[0][j], m.m[1][j], m.m[2][j], m.m[3][j]}; }
Vec4 Add(Vec4 a, Vec4 b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
Vec4 Sub(Vec4 a, Vec4 b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }

// The largest and the largest absolute value of the plane's function over the box.
float Highest(const Vec4& p, const Vec3& centre, const Vec3& half) {
    return p.x * centre.x + p.y * centre.y + p.z * centre.z + p.w + std::fabs(p.x) * half.x + std::fabs(p.y) * half.y +
           std::fabs(p.z) * half.z;
}

}  // namespace

ViewVolume::ViewVolume(const Matrix& toClip) {
    const Vec4 x = Column(toClip, 0), y = Column(toClip, 1), z = Column(toClip, 2), w = Column(toClip, 3);
    planes_[0] = Add(w, x);  // x ≥ -w
    planes_[1] = Sub(w, x);  // x ≤ w
    planes_[2] = Add(w, y);
    planes_[3] = Sub(w, y);
    planes_[4] = z;          // z ≥ 0
    planes_[5] = Sub(w, z);  // z ≤ w
    w_ = w;
}

bool ViewVolume::MayShow(const Vec3& min, const Vec3& max, float grow) const {
    const float g = std::fabs(grow);
    const Vec3 centre{(min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f, (min.z + max.z) * 0.5f};
    const Vec3 half{(max.x - min.x) * 0.5f + g, (max.y - min.y) * 0.5f + g, (max.z - min.z) * 0.5f + g};
    // Beyond by a margin far above the rounding of the device's own transform, so a corner the
    // device might still see as on the plane is never called beyond it.
    const Vec4 negW{-w_.x, -w_.y, -w_.z, -w_.w};
    const float widest = std::fmax(Highest(w_, centre, half), Highest(negW, centre, half));
    const float margin = 1e-3f * widest + 1e-6f;
    for (const Vec4& plane : planes_)
        if (Highest(plane, centre, half) < -margin) return false;
    return true;
}

std::optional<ViewVolume> EffectViewVolume(const Effect& effect) {
    Matrix m[3];
    const char* names[3] = {"mW", "mV", "mP"};
    for (int i = 0; i < 3; ++i) {
        const std::vector<float>* values = effect.GetValue(names[i]);
        if (!values || values->size() != 16) return std::nullopt;
        std::memcpy(m[i].Data(), values->data(), sizeof(float) * 16);
    }
    return ViewVolume(m[0] * m[1] * m[2]);
}
