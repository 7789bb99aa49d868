// A bounding volume hierarchy over a triangle mesh for nearest-hit ray tests.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "math/math.hpp"

namespace platform {

struct RayHit {
    bool hit = false;
    uint32_t face = 0;  // index of the face (triangle) in the mesh
    float u = 0, v = 0;  // barycentrics: point = v0 + u (v1 - v0) + v (v2 - v0)
    float distance = 0;  // ray parameter: point = origin + distance * direction (direction as given)
};

// Ray test of one triangle, both faces; false when the ray is parallel to it, misses it or meets
// it behind the origin (t < 0).
bool IntersectTriangle(Vec3 origin, Vec3 direction, Vec3 v0, Vec3 v1, Vec3 v2, float& t, float& u, float& v);

// The nearest hit by testing every face in turn; the reference the hierarchy must agree with.
RayHit IntersectBruteForce(std::span<const Vec3> positions, std::span<const uint32_t> indices, Vec3 origin,
                           Vec3 direction);

// Built once per mesh by binned surface-area heuristic; nodes in one flat array. The hierarchy
// keeps its own copy of each triangle's corners (leaf order), so it stays valid when the mesh's
// vertex arrays are dropped after upload.
class TriangleBvh {
public:
    // Indices hold three entries per face; an index beyond `positions` makes the face degenerate
    // (it can never be hit) rather than reading out of bounds.
    void Build(std::span<const Vec3> positions, std::span<const uint32_t> indices);
    void Clear();

    // Nearest hit over all faces, front and back alike; hits behind the origin are ignored; the
    // distance is the parameter of `direction` as given (not normalised), so a ray carried into a
    // scaled frame reports distances of the outer frame. Among faces hit at exactly the same
    // distance the lowest face index wins. No faces, or a zero direction: no hit.
    RayHit Intersect(Vec3 origin, Vec3 direction) const;

    uint32_t NodeCount() const { return static_cast<uint32_t>(nodes_.size()); }
    uint32_t TriangleCount() const { return static_cast<uint32_t>(triangles_.size()); }

private:
    struct Node {
        Vec3 min;
        uint32_t first = 0;  // leaf: first triangle; inner: index of the left child (right = left + 1)
        Vec3 max;
        uint32_t count = 0;  // triangles in a leaf; 0 for an inner node
    };
    struct Triangle {
        Vec3 v0, v1, v2;
        uint32_t face;
    };
    // What construction needs of each triangle, kept in the triangles' order while they are
    // partitioned.
    struct BuildItem {
        Vec3 centroid, min, max;
    };
    void Subdivide(uint32_t nodeIndex, std::vector<BuildItem>& items, int depth);
    void FitBounds(Node& node) const;

    std::vector<Node> nodes_;
    std::vector<Triangle> triangles_;
};

}  // namespace platform
