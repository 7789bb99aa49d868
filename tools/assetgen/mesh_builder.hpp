// Builds model geometry into an XMesh: polygons, boxes, lathes, tori, spheres and tubes.
#pragma once

#include <functional>
#include <vector>

#include "x_writer.hpp"

class MeshBuilder {
public:
    explicit MeshBuilder(XMesh& mesh) : mesh_(mesh) {}

    // A triangle of existing vertices, turned so that its front faces along their normals.
    void Tri(uint32_t a, uint32_t b, uint32_t c, uint32_t material);

    // A flat convex polygon facing `outward` (the sign is all that matters). uvs may be empty.
    void Polygon(const std::vector<Vec3>& points, Vec3 outward, uint32_t material,
                 const std::vector<Vec2>& uvs = {});
    // A quad a-b-c-d (in order around it), facing `outward`; both sides when doubleSided.
    void Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 outward, uint32_t material, bool doubleSided = false,
              Vec2 uvMin = {0, 0}, Vec2 uvMax = {1, 1});
    // A unit cube scaled by `half` and placed by m, flat faces.
    void Box(const Matrix& m, Vec3 half, uint32_t material);
    // A surface of revolution about +z: profile points (z, radius), `sides` facets around,
    // x and y scaled by `squash`. Flat-shaded facets; the ends are closed when their radius > 0.
    void Lathe(const std::vector<Vec2>& profile, int sides, Vec2 squash, uint32_t material,
               float angleOffset = 0.0f);
    // A torus in the xy-plane around +z; material chosen per segment around the big circle.
    void Torus(float bigRadius, float tubeRadius, int segments, int tubeSides,
               const std::function<uint32_t(int)>& materialOf);
    // A sphere around the origin; inward turns its faces towards the centre.
    void Sphere(float radius, int slices, int stacks, uint32_t material, bool inward = false);
    // A closed cylinder from a to b.
    void Tube(Vec3 a, Vec3 b, float radius, int sides, uint32_t material);

    // Applies m to every vertex added since `firstVertex` (normals through m as directions).
    void Transform(size_t firstVertex, const Matrix& m);
    size_t VertexCount() const { return mesh_.positions.size(); }

private:
    XMesh& mesh_;
};
