// The box against the six planes of the view volume, in clip space.
#include "graphics/view_volume.hpp"

#include <cmath>
#include <cstring>

#include "graphics/effect.hpp"

bool BoxMayShow(const Vec3& min, const Vec3& max, const Matrix& toClip, float grow) {
    const float g = std::fabs(grow);
    const float xs[2] = {min.x - g, max.x + g}, ys[2] = {min.y - g, max.y + g}, zs[2] = {min.z - g, max.z + g};
    // Bit k set: every corner so far lies beyond plane k.
    unsigned beyondAll = 0x3F;
    for (int corner = 0; corner < 8 && beyondAll; ++corner) {
        const Vec4 c = Vec4Transform({xs[corner & 1], ys[(corner >> 1) & 1], zs[corner >> 2], 1.0f}, toClip);
        // Beyond by a margin far above the rounding of the device's own transform, so a corner
        // the device might still see as on the plane is never called beyond it.
        const float m = 1e-3f * std::fabs(c.w) + 1e-6f;
        unsigned beyond = 0;
        if (c.x < -c.w - m) beyond |= 1;
        if (c.x > c.w + m) beyond |= 2;
        if (c.y < -c.w - m) beyond |= 4;
        if (c.y > c.w + m) beyond |= 8;
        if (c.z < -m) beyond |= 16;
        if (c.z > c.w + m) beyond |= 32;
        beyondAll &= beyond;
    }
    return beyondAll == 0;
}

bool EffectToClip(const Effect& effect, Matrix* toClip) {
    Matrix m[3];
    const char* names[3] = {"mW", "mV", "mP"};
    for (int i = 0; i < 3; ++i) {
        const std::vector<float>* values = effect.GetValue(names[i]);
        if (!values || values->size() != 16) return false;
        std::memcpy(m[i].Data(), values->data(), sizeof(float) * 16);
    }
    *toClip = m[0] * m[1] * m[2];
    return true;
}
