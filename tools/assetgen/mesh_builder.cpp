// Geometry helpers for the generated models.
#include "mesh_builder.hpp"

#include <cmath>

namespace {
constexpr float kPi = 3.14159265358979f;

Vec3 FaceNormal(Vec3 a, Vec3 b, Vec3 c) { return Vec3Cross(b - a, c - a); }

Vec3 Normalized(Vec3 v) {
    const float len = Vec3Length(v);
    return len > 0 ? v / len : Vec3{0, 1, 0};
}
}  // namespace

void MeshBuilder::Tri(uint32_t a, uint32_t b, uint32_t c, uint32_t material) {
    const Vec3 n = FaceNormal(mesh_.positions[a], mesh_.positions[b], mesh_.positions[c]);
    const Vec3 want = mesh_.normals[a] + mesh_.normals[b] + mesh_.normals[c];
    if (Vec3Dot(n, want) < 0)
        mesh_.AddFace(a, c, b, material);
    else
        mesh_.AddFace(a, b, c, material);
}

void MeshBuilder::Polygon(const std::vector<Vec3>& points, Vec3 outward, uint32_t material,
                          const std::vector<Vec2>& uvs) {
    if (points.size() < 3) return;
    Vec3 n{0, 0, 0};
    for (size_t i = 1; i + 1 < points.size(); ++i) n += FaceNormal(points[0], points[i], points[i + 1]);
    n = Normalized(n);
    if (Vec3Dot(n, outward) < 0) n = -n;
    const uint32_t first = static_cast<uint32_t>(mesh_.positions.size());
    for (size_t i = 0; i < points.size(); ++i)
        mesh_.AddVertex(points[i], n, i < uvs.size() ? uvs[i] : Vec2{0.5f, 0.5f});
    for (uint32_t i = 1; i + 1 < points.size(); ++i) Tri(first, first + i, first + i + 1, material);
}

void MeshBuilder::Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 outward, uint32_t material, bool doubleSided,
                       Vec2 uvMin, Vec2 uvMax) {
    const std::vector<Vec2> uv = {{uvMin.x, uvMin.y}, {uvMax.x, uvMin.y}, {uvMax.x, uvMax.y}, {uvMin.x, uvMax.y}};
    Polygon({a, b, c, d}, outward, material, uv);
    if (doubleSided) Polygon({a, b, c, d}, -outward, material, uv);
}

void MeshBuilder::Box(const Matrix& m, Vec3 h, uint32_t material) {
    const size_t first = VertexCount();
    const Vec3 p[8] = {{-h.x, -h.y, -h.z}, {h.x, -h.y, -h.z}, {h.x, h.y, -h.z}, {-h.x, h.y, -h.z},
                       {-h.x, -h.y, h.z},  {h.x, -h.y, h.z},  {h.x, h.y, h.z},  {-h.x, h.y, h.z}};
    Quad(p[0], p[1], p[2], p[3], {0, 0, -1}, material);
    Quad(p[5], p[4], p[7], p[6], {0, 0, 1}, material);
    Quad(p[4], p[0], p[3], p[7], {-1, 0, 0}, material);
    Quad(p[1], p[5], p[6], p[2], {1, 0, 0}, material);
    Quad(p[3], p[2], p[6], p[7], {0, 1, 0}, material);
    Quad(p[4], p[5], p[1], p[0], {0, -1, 0}, material);
    Transform(first, m);
}

void MeshBuilder::Lathe(const std::vector<Vec2>& profile, int sides, Vec2 squash, uint32_t material,
                        float angleOffset) {
    auto ring = [&](size_t i, int s) {
        const float a = angleOffset + 2 * kPi * static_cast<float>(s) / static_cast<float>(sides);
        return Vec3{std::cos(a) * profile[i].y * squash.x, std::sin(a) * profile[i].y * squash.y, profile[i].x};
    };
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        for (int s = 0; s < sides; ++s) {
            const Vec3 a = ring(i, s), b = ring(i, s + 1), c = ring(i + 1, s + 1), d = ring(i + 1, s);
            const Vec3 mid = (a + b + c + d) * 0.25f;
            const Vec3 out{mid.x, mid.y, 0.0f};
            const float v0 = static_cast<float>(i) / static_cast<float>(profile.size() - 1);
            const float v1 = static_cast<float>(i + 1) / static_cast<float>(profile.size() - 1);
            const float u0 = static_cast<float>(s) / static_cast<float>(sides);
            const float u1 = static_cast<float>(s + 1) / static_cast<float>(sides);
            if (profile[i].y <= 0.0f)
                Polygon({a, c, d}, out, material, {{u0, v0}, {u1, v1}, {u0, v1}});
            else if (profile[i + 1].y <= 0.0f)
                Polygon({a, b, c}, out, material, {{u0, v0}, {u1, v0}, {u1, v1}});
            else
                Quad(a, b, c, d, out, material, false, {u0, v0}, {u1, v1});
        }
    }
    for (size_t end : {size_t{0}, profile.size() - 1}) {
        if (profile[end].y <= 0.0f) continue;
        std::vector<Vec3> cap;
        for (int s = 0; s < sides; ++s) cap.push_back(ring(end, s));
        Polygon(cap, {0, 0, end == 0 ? -1.0f : 1.0f}, material);
    }
}

void MeshBuilder::Torus(float R, float r, int segments, int tubeSides,
                        const std::function<uint32_t(int)>& materialOf) {
    for (int s = 0; s < segments; ++s) {
        const uint32_t first = static_cast<uint32_t>(VertexCount());
        // Each segment owns its vertices, so segments of different materials keep sharp seams.
        for (int k = 0; k <= 1; ++k) {
            const float a = 2 * kPi * static_cast<float>(s + k) / static_cast<float>(segments);
            const Vec3 centre{std::cos(a) * R, std::sin(a) * R, 0};
            const Vec3 radial{std::cos(a), std::sin(a), 0};
            for (int t = 0; t <= tubeSides; ++t) {
                const float b = 2 * kPi * static_cast<float>(t) / static_cast<float>(tubeSides);
                const Vec3 n = radial * std::cos(b) + Vec3{0, 0, std::sin(b)};
                mesh_.AddVertex(centre + n * r, n,
                                {static_cast<float>(k), static_cast<float>(t) / static_cast<float>(tubeSides)});
            }
        }
        const uint32_t row = static_cast<uint32_t>(tubeSides + 1);
        const uint32_t m = materialOf(s);
        for (int t = 0; t < tubeSides; ++t) {
            const uint32_t a = first + t, b = first + t + 1, c = first + row + t + 1, d = first + row + t;
            Tri(a, b, c, m);
            Tri(a, c, d, m);
        }
    }
}

void MeshBuilder::Sphere(float radius, int slices, int stacks, uint32_t material, bool inward) {
    const uint32_t first = static_cast<uint32_t>(VertexCount());
    for (int j = 0; j <= stacks; ++j) {
        const float phi = kPi * static_cast<float>(j) / static_cast<float>(stacks);
        for (int i = 0; i <= slices; ++i) {
            const float th = 2 * kPi * static_cast<float>(i) / static_cast<float>(slices);
            const Vec3 n{std::sin(phi) * std::cos(th), std::cos(phi), std::sin(phi) * std::sin(th)};
            mesh_.AddVertex(n * radius, inward ? -n : n,
                            {static_cast<float>(i) / static_cast<float>(slices),
                             static_cast<float>(j) / static_cast<float>(stacks)});
        }
    }
    const uint32_t row = static_cast<uint32_t>(slices + 1);
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const uint32_t a = first + j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            if (j != 0) Tri(a, b, c, material);
            if (j != stacks - 1) Tri(a, c, d, material);
        }
}

void MeshBuilder::Tube(Vec3 a, Vec3 b, float radius, int sides, uint32_t material) {
    const Vec3 axis = b - a;
    const float length = Vec3Length(axis);
    const size_t first = VertexCount();
    Lathe({{0, radius}, {length, radius}}, sides, {1, 1}, material);
    // Carry the +z lathe onto the a-b axis.
    const Vec3 z = Normalized(axis);
    const Vec3 helper = std::fabs(z.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    const Vec3 x = Normalized(Vec3Cross(helper, z));
    const Vec3 y = Vec3Cross(z, x);
    Matrix m = Matrix::Identity();
    m.SetRow(0, x);
    m.SetRow(1, y);
    m.SetRow(2, z);
    m.SetRow(3, a);
    Transform(first, m);
}

void MeshBuilder::Transform(size_t firstVertex, const Matrix& m) {
    for (size_t i = firstVertex; i < mesh_.positions.size(); ++i) {
        mesh_.positions[i] = Vec3TransformCoord(mesh_.positions[i], m);
        mesh_.normals[i] = Normalized(Vec3TransformNormal(mesh_.normals[i], m));
    }
}
