// Noise and shape helpers for the pictures.
#include "paint.hpp"

#include <algorithm>

namespace paint {
namespace {

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

float Lattice(int x, int y, int period, uint32_t seed) {
    const uint32_t ux = static_cast<uint32_t>(((x % period) + period) % period);
    const uint32_t uy = static_cast<uint32_t>(((y % period) + period) % period);
    return static_cast<float>(Hash(ux * 73856093u ^ uy * 19349663u ^ seed * 83492791u) & 0xffffu) / 65535.0f;
}

}  // namespace

float Random(uint32_t key) { return static_cast<float>(Hash(key * 2654435761u + 12345u) & 0xffffffu) / 16777215.0f; }

float TileNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = Lattice(ix, iy, period, seed), b = Lattice(ix + 1, iy, period, seed);
    const float c = Lattice(ix, iy + 1, period, seed), d = Lattice(ix + 1, iy + 1, period, seed);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float TileFractal(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += TileNoise(x, y, period, seed + static_cast<uint32_t>(i)) * amp;
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm;
}

float TriangleDistance(float x, float y, float ax, float ay, float bx, float by, float cx, float cy) {
    const float d = std::min({SegmentDistance(x, y, ax, ay, bx, by, 0), SegmentDistance(x, y, bx, by, cx, cy, 0),
                              SegmentDistance(x, y, cx, cy, ax, ay, 0)});
    auto side = [&](float px, float py, float qx, float qy) { return (qx - px) * (y - py) - (qy - py) * (x - px); };
    const float s0 = side(ax, ay, bx, by), s1 = side(bx, by, cx, cy), s2 = side(cx, cy, ax, ay);
    const bool inside = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    return inside ? -d : d;
}

}  // namespace paint
