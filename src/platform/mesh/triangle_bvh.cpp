// Binned-SAH hierarchy construction and nearest-hit traversal for mesh ray tests.
#include "platform/mesh/triangle_bvh.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr int kBins = 16;
constexpr uint32_t kLeafSize = 4;   // a node this small is never split
constexpr uint32_t kMaxLeaf = 32;   // a node this large is split even when SAH would keep it
constexpr int kMaxDepth = 60;       // keeps the traversal stack below bounded (see Intersect)

Vec3 Min(Vec3 a, Vec3 b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vec3 Max(Vec3 a, Vec3 b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }
float Axis(Vec3 v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

struct Box {
    Vec3 min{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vec3 max{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
    void Grow(Vec3 p) { min = Min(min, p); max = Max(max, p); }
    void Grow(const Box& b) { min = Min(min, b.min); max = Max(max, b.max); }
    float Area() const {
        if (min.x > max.x) return 0;
        const Vec3 e = max - min;
        return e.x * e.y + e.y * e.z + e.z * e.x;
    }
};

// Entry distance of the ray into the box, or +infinity when it misses it within [0, limit].
// A zero direction component gives infinite slab distances; a NaN from 0 x infinity (origin on
// the slab's plane) falls out of the min/max below, keeping the box.
inline float EnterBox(Vec3 bmin, Vec3 bmax, Vec3 origin, Vec3 inv, float limit) {
    const float tx1 = (bmin.x - origin.x) * inv.x, tx2 = (bmax.x - origin.x) * inv.x;
    float tmin = std::min(tx1, tx2), tmax = std::max(tx1, tx2);
    const float ty1 = (bmin.y - origin.y) * inv.y, ty2 = (bmax.y - origin.y) * inv.y;
    tmin = std::max(std::min(ty1, ty2), tmin);
    tmax = std::min(std::max(ty1, ty2), tmax);
    const float tz1 = (bmin.z - origin.z) * inv.z, tz2 = (bmax.z - origin.z) * inv.z;
    tmin = std::max(std::min(tz1, tz2), tmin);
    tmax = std::min(std::max(tz1, tz2), tmax);
    if (std::isnan(tmin)) tmin = 0;
    if (std::isnan(tmax)) tmax = limit;
    tmin = std::max(tmin, 0.0f);
    if (tmin > tmax || tmin > limit) return std::numeric_limits<float>::infinity();
    return tmin;
}

bool Finite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

bool IntersectTriangle(Vec3 origin, Vec3 direction, Vec3 v0, Vec3 v1, Vec3 v2, float& t, float& u, float& v) {
    const Vec3 e1 = v1 - v0, e2 = v2 - v0;
    const Vec3 p = Vec3Cross(direction, e2);
    const float det = Vec3Dot(e1, p);
    if (det == 0 || !std::isfinite(det)) return false;
    const float inv = 1.0f / det;
    const Vec3 s = origin - v0;
    const float uu = Vec3Dot(s, p) * inv;
    if (!(uu >= 0 && uu <= 1)) return false;
    const Vec3 q = Vec3Cross(s, e1);
    const float vv = Vec3Dot(direction, q) * inv;
    if (!(vv >= 0 && uu + vv <= 1)) return false;
    const float tt = Vec3Dot(e2, q) * inv;
    if (!(tt >= 0)) return false;
    t = tt;
    u = uu;
    v = vv;
    return true;
}

RayHit IntersectBruteForce(std::span<const Vec3> positions, std::span<const uint32_t> indices, Vec3 origin,
                           Vec3 direction) {
    RayHit best;
    if (!Finite(origin) || !Finite(direction)) return best;
    const size_t faces = indices.size() / 3;
    for (size_t f = 0; f < faces; ++f) {
        const uint32_t a = indices[3 * f], b = indices[3 * f + 1], c = indices[3 * f + 2];
        if (a >= positions.size() || b >= positions.size() || c >= positions.size()) continue;
        float t, u, v;
        if (IntersectTriangle(origin, direction, positions[a], positions[b], positions[c], t, u, v) &&
            (!best.hit || t < best.distance)) {
            best = {true, static_cast<uint32_t>(f), u, v, t};
        }
    }
    return best;
}

void TriangleBvh::Clear() {
    nodes_.clear();
    triangles_.clear();
}

void TriangleBvh::Build(std::span<const Vec3> positions, std::span<const uint32_t> indices) {
    Clear();
    const size_t faces = indices.size() / 3;
    if (faces == 0 || faces > std::numeric_limits<uint32_t>::max() / 2) return;
    triangles_.resize(faces);
    std::vector<BuildItem> items(faces);
    for (size_t f = 0; f < faces; ++f) {
        Triangle& tri = triangles_[f];
        const uint32_t a = indices[3 * f], b = indices[3 * f + 1], c = indices[3 * f + 2];
        tri.face = static_cast<uint32_t>(f);
        if (a < positions.size() && b < positions.size() && c < positions.size()) {
            tri.v0 = positions[a];
            tri.v1 = positions[b];
            tri.v2 = positions[c];
        } else {
            // Degenerate: a zero-area triangle is never hit.
            tri.v0 = tri.v1 = tri.v2 = positions.empty() ? Vec3{} : positions[0];
        }
        if (!Finite(tri.v0) || !Finite(tri.v1) || !Finite(tri.v2)) tri.v0 = tri.v1 = tri.v2 = Vec3{};
        // A third of each first: the sum of three coordinates near the float limit would overflow.
        items[f] = {tri.v0 * (1.0f / 3.0f) + tri.v1 * (1.0f / 3.0f) + tri.v2 * (1.0f / 3.0f), Min(Min(tri.v0, tri.v1), tri.v2),
                    Max(Max(tri.v0, tri.v1), tri.v2)};
    }
    nodes_.reserve(faces * 2);
    nodes_.push_back(Node{});
    nodes_[0].first = 0;
    nodes_[0].count = static_cast<uint32_t>(faces);
    FitBounds(nodes_[0]);
    Subdivide(0, items, 0);
    nodes_.shrink_to_fit();
}

void TriangleBvh::FitBounds(Node& node) const {
    Box box;
    for (uint32_t i = 0; i < node.count; ++i) {
        const Triangle& t = triangles_[node.first + i];
        box.Grow(t.v0);
        box.Grow(t.v1);
        box.Grow(t.v2);
    }
    // Pad the box a little so that rounding in the slab test never drops a triangle on its face.
    const Vec3 e = box.max - box.min;
    const float pad = 1e-5f * std::max({e.x, e.y, e.z, std::fabs(box.min.x), std::fabs(box.min.y),
                                        std::fabs(box.min.z), std::fabs(box.max.x), std::fabs(box.max.y),
                                        std::fabs(box.max.z)}) + 1e-30f;
    node.min = box.min - Vec3{pad, pad, pad};
    node.max = box.max + Vec3{pad, pad, pad};
}

void TriangleBvh::Subdivide(uint32_t nodeIndex, std::vector<BuildItem>& items, int depth) {
    const uint32_t first = nodes_[nodeIndex].first, count = nodes_[nodeIndex].count;
    if (count <= kLeafSize || depth >= kMaxDepth) return;

    Box centroidBox;
    for (uint32_t i = 0; i < count; ++i) centroidBox.Grow(items[first + i].centroid);

    // Binned surface-area heuristic over the three axes, binned in one pass over the triangles.
    std::array<std::array<Box, kBins>, 3> bins;
    std::array<std::array<uint32_t, kBins>, 3> binCount{};
    // In double: the width of centroids spread across the whole float range is no float.
    std::array<double, 3> lo{}, scale{};
    std::array<bool, 3> splittable{};
    for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = Axis(centroidBox.min, axis);
        const double hi = Axis(centroidBox.max, axis);
        splittable[axis] = hi > lo[axis];
        scale[axis] = splittable[axis] ? kBins / (hi - lo[axis]) : 0.0;
    }
    const auto binOf = [&](const BuildItem& item, int axis) {
        const double t = (Axis(item.centroid, axis) - lo[axis]) * scale[axis];
        return t >= kBins - 1 ? kBins - 1 : t > 0 ? static_cast<int>(t) : 0;
    };
    for (uint32_t i = 0; i < count; ++i) {
        const BuildItem& item = items[first + i];
        Box triangleBox;
        triangleBox.min = item.min;
        triangleBox.max = item.max;
        for (int axis = 0; axis < 3; ++axis) {
            if (!splittable[axis]) continue;
            const int b = binOf(item, axis);
            binCount[axis][b]++;
            bins[axis][b].Grow(triangleBox);
        }
    }
    float bestCost = std::numeric_limits<float>::infinity();
    int bestAxis = -1, bestSplit = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (!splittable[axis]) continue;
        std::array<float, kBins - 1> leftArea{}, rightArea{};
        std::array<uint32_t, kBins - 1> leftCount{}, rightCount{};
        Box left, right;
        uint32_t l = 0, r = 0;
        for (int i = 0; i < kBins - 1; ++i) {
            l += binCount[axis][i];
            left.Grow(bins[axis][i]);
            leftCount[i] = l;
            leftArea[i] = left.Area();
            r += binCount[axis][kBins - 1 - i];
            right.Grow(bins[axis][kBins - 1 - i]);
            rightCount[kBins - 2 - i] = r;
            rightArea[kBins - 2 - i] = right.Area();
        }
        for (int i = 0; i < kBins - 1; ++i) {
            if (leftCount[i] == 0 || rightCount[i] == 0) continue;
            const float cost = leftCount[i] * leftArea[i] + rightCount[i] * rightArea[i];
            if (cost < bestCost) {
                bestCost = cost;
                bestAxis = axis;
                bestSplit = i;
            }
        }
    }
    if (bestAxis < 0) return;  // every centroid in one place: nothing to split
    Box nodeBox;
    nodeBox.min = nodes_[nodeIndex].min;
    nodeBox.max = nodes_[nodeIndex].max;
    if (bestCost >= count * nodeBox.Area() && count <= kMaxLeaf) return;

    // Partition the triangles (and what construction keeps of them) by the chosen bin boundary.
    uint32_t i = first, j = first + count;
    while (i < j) {
        const int b = binOf(items[i], bestAxis);
        if (b <= bestSplit) {
            ++i;
        } else {
            --j;
            std::swap(triangles_[i], triangles_[j]);
            std::swap(items[i], items[j]);
        }
    }
    const uint32_t leftCount = i - first;
    if (leftCount == 0 || leftCount == count) return;

    const uint32_t leftIndex = static_cast<uint32_t>(nodes_.size());
    nodes_.push_back(Node{});
    nodes_.push_back(Node{});
    nodes_[leftIndex].first = first;
    nodes_[leftIndex].count = leftCount;
    nodes_[leftIndex + 1].first = i;
    nodes_[leftIndex + 1].count = count - leftCount;
    FitBounds(nodes_[leftIndex]);
    FitBounds(nodes_[leftIndex + 1]);
    nodes_[nodeIndex].first = leftIndex;
    nodes_[nodeIndex].count = 0;
    Subdivide(leftIndex, items, depth + 1);
    Subdivide(leftIndex + 1, items, depth + 1);
}

RayHit TriangleBvh::Intersect(Vec3 origin, Vec3 direction) const {
    RayHit best;
    if (nodes_.empty() || !Finite(origin) || !Finite(direction)) return best;
    if (direction.x == 0 && direction.y == 0 && direction.z == 0) return best;
    const Vec3 inv{1.0f / direction.x, 1.0f / direction.y, 1.0f / direction.z};
    float limit = std::numeric_limits<float>::max();

    if (EnterBox(nodes_[0].min, nodes_[0].max, origin, inv, limit) == std::numeric_limits<float>::infinity())
        return best;
    // Depth is capped at kMaxDepth, and each level pushes at most one node.
    std::array<uint32_t, kMaxDepth + 4> stack;
    size_t top = 0;
    uint32_t current = 0;
    for (;;) {
        const Node& node = nodes_[current];
        if (node.count > 0) {
            for (uint32_t k = 0; k < node.count; ++k) {
                const Triangle& tri = triangles_[node.first + k];
                float t, u, v;
                if (IntersectTriangle(origin, direction, tri.v0, tri.v1, tri.v2, t, u, v) &&
                    (!best.hit || t < best.distance || (t == best.distance && tri.face < best.face))) {
                    best = {true, tri.face, u, v, t};
                    limit = t;
                }
            }
        } else {
            uint32_t near = node.first, far = node.first + 1;
            float tNear = EnterBox(nodes_[near].min, nodes_[near].max, origin, inv, limit);
            float tFar = EnterBox(nodes_[far].min, nodes_[far].max, origin, inv, limit);
            if (tFar < tNear) {
                std::swap(near, far);
                std::swap(tNear, tFar);
            }
            if (tNear != std::numeric_limits<float>::infinity()) {
                if (tFar != std::numeric_limits<float>::infinity()) stack[top++] = far;
                current = near;
                continue;
            }
        }
        if (top == 0) break;
        current = stack[--top];
    }
    return best;
}

}  // namespace platform
