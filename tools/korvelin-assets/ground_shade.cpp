// Heights by downward rays on a grid, then shading from the slopes between pixels.
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

// Heights at every kStep-th pixel: the map's triangles span several pixels at any sensible
// scale, so a finer grid adds nothing but rays.
constexpr int kStep = 2;

struct HeightGrid {
    int width = 0, height = 0;  // samples
    std::vector<float> h;       // NaN where there is no ground
    float At(int i, int j) const { return h[static_cast<size_t>(j) * width + i]; }

    // The height under pixel (i, j), bilinear between the samples round it; where one of them
    // has no ground, the nearest sample's.
    float Pixel(int i, int j) const {
        const int gi = i / kStep, gj = j / kStep;
        const float tx = static_cast<float>(i % kStep) / kStep, ty = static_cast<float>(j % kStep) / kStep;
        const float a = At(gi, gj), b = At(gi + 1, gj), c = At(gi, gj + 1), d = At(gi + 1, gj + 1);
        if (std::isnan(a) || std::isnan(b) || std::isnan(c) || std::isnan(d))
            return At(gi + (tx > 0.5f), gj + (ty > 0.5f));
        return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
    }
};

HeightGrid SampleHeights(const PictureView& view, const platform::MeshData& ground) {
    HeightGrid grid;
    grid.width = (view.width + kStep - 1) / kStep + 1;
    grid.height = (view.height + kStep - 1) / kStep + 1;
    grid.h.assign(static_cast<size_t>(grid.width) * grid.height, kNone);
    const float above = ground.bounds.max.y + 100.0f;
    // Rows split between two threads: the rays are independent and the mesh is only read.
    auto rows = [&](int first, int step) {
        for (int j = first; j < grid.height; j += step)
            for (int i = 0; i < grid.width; ++i) {
                const Vec3 p = view.ToWorld(i * kStep, j * kStep);
                const platform::RayHit hit = ground.Intersect({p.x, above, p.z}, {0, -1, 0});
                if (hit.hit) grid.h[static_cast<size_t>(j) * grid.width + i] = above - hit.distance;
            }
    };
    std::thread other(rows, 1, 2);
    rows(0, 2);
    other.join();
    return grid;
}

}  // namespace

void ShadeGround(Image& image, const PictureView& view, const platform::MeshData& ground) {
    const HeightGrid grid = SampleHeights(view, ground);
    std::vector<float> h(static_cast<size_t>(view.width) * view.height);
    for (int j = 0; j < view.height; ++j)
        for (int i = 0; i < view.width; ++i) h[static_cast<size_t>(j) * view.width + i] = grid.Pixel(i, j);
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
