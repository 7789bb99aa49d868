// Hand-made ground for ground-following tests: planar patches as a Model on the current
// (null) device, so slopes and edges are exact.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "graphics/graphics_device.hpp"
#include "graphics/model.hpp"

namespace test_ground {

// A patch of ground over x0..x1, z0..z1.
struct Patch {
    float x0, z0, x1, z1;
};

using Height = std::function<float(float x, float z)>;

inline float Flat(float, float) { return 0.0f; }

// One quad per patch, its corners at the given heights; a plane stays exact between them.
// Destroy the model before the device.
inline std::unique_ptr<Model> MakeGround(const Height& height, const std::vector<Patch>& patches) {
    platform::MeshData data;
    for (const Patch& p : patches) {
        const auto base = static_cast<uint32_t>(data.vertices.size());
        for (Vec3 c : {Vec3{p.x0, 0, p.z0}, Vec3{p.x0, 0, p.z1}, Vec3{p.x1, 0, p.z1}, Vec3{p.x1, 0, p.z0}}) {
            c.y = height(c.x, c.z);
            data.vertices.push_back({c, {0, 1, 0}, 0, 0});
        }
        for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) data.indices.push_back(base + i);
    }
    data.subsets.push_back({0, static_cast<uint32_t>(data.indices.size())});
    data.materials.emplace_back();
    data.Finish();
    auto model = std::make_unique<Model>();
    model->mesh = std::make_unique<Mesh>();
    model->mesh->Create(*GraphicsDevice::Instance().device, std::move(data));
    return model;
}

// A square of ground 200 units across around the origin.
inline std::unique_ptr<Model> MakeGround(const Height& height) {
    return MakeGround(height, {{-100, -100, 100, 100}});
}

}  // namespace test_ground
