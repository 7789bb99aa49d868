// The canyon height field: a gently rolling floor, walls rising to a rough rim, noise on top.
#include "terrain.hpp"

#include <cmath>
#include <cstdint>

namespace terrain {
namespace {

constexpr float kRingRadius = 2750.0f;
constexpr float kPi = 3.14159265358979f;

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

float Lattice(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<float>(Hash(x, y, seed) & 0xffffu) / 65535.0f * 2.0f - 1.0f;
}

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Value noise in -1..1 with a feature size of one unit.
float Noise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fractal(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += Noise(x, y, seed + static_cast<uint32_t>(i)) * amp;
        norm += amp;
        amp *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / norm;
}

float SmoothStep(float e0, float e1, float x) {
    const float t = std::fmin(1.0f, std::fmax(0.0f, (x - e0) / (e1 - e0)));
    return Smooth(t);
}

}  // namespace

float CentreRadius(float theta) {
    // Cosines only, so the line heads due north at theta = 0 where the run starts.
    return kRingRadius + 260.0f * std::cos(4.0f * theta) + 110.0f * std::cos(9.0f * theta + kPi);
}

float FloorHeight(float theta) {
    return 38.0f * std::sin(2.0f * theta) + 22.0f * std::sin(5.0f * theta + 0.7f) - 22.0f * std::sin(0.7f);
}

Vec3 CentrePoint(float theta) {
    const float r = CentreRadius(theta);
    return {-r * std::cos(theta), FloorHeight(theta), r * std::sin(theta)};
}

float ThetaAt(float x, float z) {
    float t = std::atan2(z, -x);
    if (t < 0) t += 2 * kPi;
    return t;
}

float OffsetAt(float x, float z) { return std::sqrt(x * x + z * z) - CentreRadius(ThetaAt(x, z)); }

float Height(float x, float z) {
    const float theta = ThetaAt(x, z);
    const float d = std::fabs(OffsetAt(x, z));
    const float floorY = FloorHeight(theta);
    // Soft dunes on the floor, sharp rock higher up.
    const float dunes = 2.5f * Fractal(x / 160.0f, z / 160.0f, 2, 11u);
    const float wall = SmoothStep(kFloorHalfWidth, kRimOffset, d);
    const float rock = Fractal(x / 220.0f, z / 220.0f, 4, 29u);
    const float rimHeight = 230.0f + 70.0f * rock + 40.0f * Fractal(x / 900.0f, z / 900.0f, 2, 47u);
    const float mesas = SmoothStep(kRimOffset, kRimOffset + 300.0f, d) * 60.0f *
                        std::fmax(0.0f, Fractal(x / 400.0f, z / 400.0f, 3, 61u));
    return floorY + dunes * (1.0f - wall) + wall * rimHeight + mesas;
}

bool Covered(float x, float z) { return OffsetAt(x, z) < kMapMargin; }

}  // namespace terrain
