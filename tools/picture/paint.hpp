// Small painting helpers: noise, shapes as signed distances.
#pragma once

#include <cmath>
#include <cstdint>

#include "image.hpp"

namespace paint {

// Value noise in 0..1 that repeats every `period` units (for seamless tiles).
float TileNoise(float x, float y, int period, uint32_t seed);
// Octaves of TileNoise.
float TileFractal(float x, float y, int period, int octaves, uint32_t seed);
// A deterministic random value in 0..1 for an integer key.
float Random(uint32_t key);

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline Rgba Color(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }

// Signed distance to a rounded box centred at (cx, cy).
inline float BoxDistance(float x, float y, float cx, float cy, float hw, float hh, float radius) {
    const float qx = std::fabs(x - cx) - hw + radius, qy = std::fabs(y - cy) - hh + radius;
    const float ox = qx > 0 ? qx : 0, oy = qy > 0 ? qy : 0;
    return std::sqrt(ox * ox + oy * oy) + std::fmin(std::fmax(qx, qy), 0.0f) - radius;
}
// Signed distance to a segment of width 2 * halfWidth.
inline float SegmentDistance(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    const float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
    const float t = Clamp01((px * vx + py * vy) / (vx * vx + vy * vy));
    const float dx = px - vx * t, dy = py - vy * t;
    return std::sqrt(dx * dx + dy * dy) - halfWidth;
}
// Signed distance to a triangle (any winding).
float TriangleDistance(float x, float y, float ax, float ay, float bx, float by, float cx, float cy);

// A soft glow line: light falling off with distance, strongest on the line.
inline float GlowFalloff(float distance, float width) {
    const float d = std::fmax(0.0f, distance) / width;
    return 1.0f / (1.0f + d * d);
}

}  // namespace paint
