// The title tunnel and the sky dome the aim ray meets.
#include <cmath>

#include "asset_tree.hpp"
#include "materials.hpp"
#include "mesh_builder.hpp"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kSegmentLength = 163.4f;  // the title places copies exactly this far apart
constexpr float kTunnelRadius = 75.0f;    // the title camera sits 35 units off the axis

// One tunnel segment around the z axis, centred on z = 0, seen from inside. Half ribs at both
// ends make whole ribs where copies meet.
XMesh TunnelSegment() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t panel = mesh.AddMaterial(Glossy(0.42f, 0.45f, 0.62f, 25.0f, "tunnel.png"));
    const uint32_t rib = mesh.AddMaterial(NeonOf(palette::kMagenta));
    const uint32_t strip = mesh.AddMaterial(NeonOf(palette::kCyan));
    const uint32_t lamp = mesh.AddMaterial(NeonOf(palette::kOrange));
    const uint32_t frame = mesh.AddMaterial(Matte(0.08f, 0.08f, 0.12f));
    const float half = kSegmentLength / 2;
    const float apothem = kTunnelRadius * std::cos(kPi / 8);
    const float sideHalf = kTunnelRadius * std::sin(kPi / 8);
    for (int i = 0; i < 8; ++i) {
        const float a0 = (static_cast<float>(i) - 0.5f) * kPi / 4, a1 = (static_cast<float>(i) + 0.5f) * kPi / 4;
        const Vec3 p0{std::cos(a0) * kTunnelRadius, std::sin(a0) * kTunnelRadius, 0};
        const Vec3 p1{std::cos(a1) * kTunnelRadius, std::sin(a1) * kTunnelRadius, 0};
        const Vec3 inward{-std::cos(static_cast<float>(i) * kPi / 4), -std::sin(static_cast<float>(i) * kPi / 4), 0};
        for (int k = 0; k < 2; ++k) {
            const float z0 = -half + static_cast<float>(k) * half, z1 = z0 + half;
            b.Quad(p0 + Vec3{0, 0, z0}, p1 + Vec3{0, 0, z0}, p1 + Vec3{0, 0, z1}, p0 + Vec3{0, 0, z1}, inward, panel,
                   false, {0, 0}, {1, 1});
        }
        const float phi = static_cast<float>(i) * kPi / 4;
        const Matrix turn = MatrixRotationZ(phi - kPi / 2);
        for (float z : {-half + 1.5f, half - 1.5f})
            b.Box(MatrixTranslation(0, apothem - 3.5f, z) * turn, {sideHalf, 3.5f, 1.5f}, rib);
        b.Box(MatrixTranslation(0, apothem - 1.0f, 0) * turn, {sideHalf, 1.0f, 0.8f}, frame);
        b.Box(MatrixTranslation(0, apothem - 2.2f, 0) * turn, {sideHalf * 0.6f, 0.4f, 0.5f}, lamp);
        // Light strips along the corners.
        const float c = a1;
        b.Box(MatrixTranslation(std::cos(c) * (kTunnelRadius - 1.5f), std::sin(c) * (kTunnelRadius - 1.5f), 0),
              {1.1f, 1.1f, half - 3.0f}, strip);
    }
    return mesh;
}

// The sky: a closed sphere, faces turned inwards; it is only ray-tested, from inside.
XMesh SkyDome() {
    XMesh mesh;
    MeshBuilder b(mesh);
    b.Sphere(200.0f, 24, 12, mesh.AddMaterial(Matte(0.9f, 0.5f, 0.45f)), true);
    return mesh;
}

}  // namespace

void AddWorldModels(AssetList& out) {
    out.push_back({"model/Title.x", WriteXFile(TunnelSegment(), "Title")});
    out.push_back({"model/Sky.x", WriteXFile(SkyDome(), "Sky")});
}
