// Heights by downward rays, one per pixel, then shading from the slopes between them.
#include "ground_shade.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr float kRelief = 2.0f;  // slopes drawn steeper than they are, so low ridges show
const Rgba kNoGround{0.05f, 0.06f, 0.09f, 1};

struct Stop {
    float at;
    Rgba colour;
};
// Low ground (canyon floors) dark and cool, high ground warm and lighter.
const Stop kRamp[] = {{0.0f, {0.07f, 0.14f, 0.19f, 1}},
                      {0.3f, {0.16f, 0.22f, 0.19f, 1}},
                      {0.65f, {0.29f, 0.27f, 0.21f, 1}},
                      {1.0f, {0.42f, 0.39f, 0.34f, 1}}};

Rgba Tint(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    for (size_t i = 1; i < std::size(kRamp); ++i)
        if (t <= kRamp[i].at) return Mix(kRamp[i - 1].colour, kRamp[i].colour, (t - kRamp[i - 1].at) / (kRamp[i].at - kRamp[i - 1].at));
    return kRamp[std::size(kRamp) - 1].colour;
}

std::vector<float> SampleHeights(const PictureView& view, const platform::MeshData& ground) {
    std::vector<float> heights(static_cast<size_t>(view.width) * view.height, kNone);
    const float above = ground.bounds.max.y + 100.0f;
    // Rows split between two threads: the rays are independent and the mesh is only read.
    auto rows = [&](int first, int step) {
        for (int j = first; j < view.height; j += step)
            for (int i = 0; i < view.width; ++i) {
                const Vec3 p = view.ToWorld(i, j);
                const platform::RayHit hit = ground.Intersect({p.x, above, p.z}, {0, -1, 0});
                if (hit.hit) heights[static_cast<size_t>(j) * view.width + i] = above - hit.distance;
            }
    };
    std::thread other(rows, 1, 2);
    rows(0, 2);
    other.join();
    return heights;
}

}  // namespace

void ShadeGround(Image& image, const PictureView& view, const platform::MeshData& ground) {
    const std::vector<float> h = SampleHeights(view, ground);
    float low = std::numeric_limits<float>::max(), high = std::numeric_limits<float>::lowest();
    for (float v : h)
        if (!std::isnan(v)) low = std::min(low, v), high = std::max(high, v);
    const float range = std::max(1.0f, high - low);
    const float unit = static_cast<float>(1.0 / view.pixelsPerUnit);  // world units between pixel centres
    const Vec3 light = Vec3Normalize({-1.0f, 1.3f, 1.0f});
    const float flat = light.y;
    auto at = [&](int i, int j, float fallback) {
        if (i < 0 || j < 0 || i >= view.width || j >= view.height) return fallback;
        const float v = h[static_cast<size_t>(j) * view.width + i];
        return std::isnan(v) ? fallback : v;
    };
    for (int j = 0; j < view.height; ++j)
        for (int i = 0; i < view.width; ++i) {
            const float c = h[static_cast<size_t>(j) * view.width + i];
            if (std::isnan(c)) {
                image.At(i, j) = kNoGround;
                continue;
            }
            // Picture rows run towards -z.
            const float dx = (at(i + 1, j, c) - at(i - 1, j, c)) / (2 * unit) * kRelief;
            const float dz = (at(i, j - 1, c) - at(i, j + 1, c)) / (2 * unit) * kRelief;
            const Vec3 n = Vec3Normalize({-dx, 1.0f, -dz});
            const float shade = std::max(0.0f, Vec3Dot(n, light)) / flat;  // 1 on flat ground
            const Rgba tint = Tint((c - low) / range);
            const float k = 0.35f + 0.65f * std::min(shade, 1.6f);
            image.At(i, j) = {tint.r * k, tint.g * k, tint.b * k, 1};
        }
}
