// Ray tests against a 100,000-triangle ground mesh: the hierarchy against testing every face.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/mesh/triangle_bvh.hpp"

namespace {

// A rolling height field of 250 x 200 quads (100,000 triangles), 2000 x 1600 units, like a map.
struct Ground {
    std::vector<Vec3> positions;
    std::vector<uint32_t> indices;
    Ground() {
        constexpr int nx = 250, nz = 200;
        for (int z = 0; z <= nz; ++z)
            for (int x = 0; x <= nx; ++x) {
                const float fx = x * 8.0f, fz = z * 8.0f;
                positions.push_back({fx, 20 * std::sin(fx * 0.01f) * std::cos(fz * 0.013f), fz});
            }
        for (int z = 0; z < nz; ++z)
            for (int x = 0; x < nx; ++x) {
                const uint32_t a = z * (nx + 1) + x, b = a + nx + 1;
                for (uint32_t i : {a, b, b + 1, a, b + 1, a + 1}) indices.push_back(i);
            }
    }
};

struct Ray {
    Vec3 origin, direction;
};

// Half the rays fall straight down onto the ground (ground following), half are aimed across
// it from above in any direction (the camera's aim), some of them missing it.
std::vector<Ray> MakeRays() {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> x(0, 2000), z(0, 1600), d(-1, 1);
    std::vector<Ray> rays;
    for (int i = 0; i < 1024; ++i) {
        if (i % 2 == 0)
            rays.push_back({{x(rng), 100, z(rng)}, {0, -1, 0}});
        else
            rays.push_back({{x(rng), 60, z(rng)}, {d(rng), d(rng) * 0.5f - 0.3f, d(rng)}});
    }
    return rays;
}

const Ground& TheGround() {
    static const Ground ground;
    return ground;
}

void BM_RayHierarchy(benchmark::State& state) {
    const Ground& g = TheGround();
    platform::TriangleBvh bvh;
    bvh.Build(g.positions, g.indices);
    const std::vector<Ray> rays = MakeRays();
    size_t i = 0;
    for (auto _ : state) {
        const Ray& r = rays[i++ & 1023];
        benchmark::DoNotOptimize(bvh.Intersect(r.origin, r.direction));
    }
    state.counters["triangles"] = double(g.indices.size() / 3);
}
BENCHMARK(BM_RayHierarchy);

void BM_RayBruteForce(benchmark::State& state) {
    const Ground& g = TheGround();
    const std::vector<Ray> rays = MakeRays();
    size_t i = 0;
    for (auto _ : state) {
        const Ray& r = rays[i++ & 1023];
        benchmark::DoNotOptimize(platform::IntersectBruteForce(g.positions, g.indices, r.origin, r.direction));
    }
}
BENCHMARK(BM_RayBruteForce)->Unit(benchmark::kMicrosecond);

void BM_BuildHierarchy(benchmark::State& state) {
    const Ground& g = TheGround();
    for (auto _ : state) {
        platform::TriangleBvh bvh;
        bvh.Build(g.positions, g.indices);
        benchmark::DoNotOptimize(bvh.NodeCount());
    }
}
BENCHMARK(BM_BuildHierarchy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
