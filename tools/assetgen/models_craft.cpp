// The flying things: the player's craft, the enemy unit, the gun, the shot and the blast.
#include <algorithm>
#include <cmath>

#include "asset_tree.hpp"
#include "materials.hpp"
#include "mesh_builder.hpp"

namespace {

constexpr float kPi = 3.14159265358979f;

// The player's craft: a swept delta about 4 units from nose (+z) to engines, facing +z.
XMesh Craft() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t hull = mesh.AddMaterial(Glossy(0.86f, 0.88f, 0.95f, 40.0f, "craft.png"));
    const uint32_t trim = mesh.AddMaterial(Matte(1.0f, 0.45f, 0.1f));
    const uint32_t canopy = mesh.AddMaterial(Glossy(0.05f, 0.12f, 0.3f, 80.0f));
    const uint32_t engine = mesh.AddMaterial(NeonOf(palette::kCyan));
    const uint32_t dark = mesh.AddMaterial(Matte(0.12f, 0.12f, 0.16f));

    // Fuselage: nose at z = 2, flattened six-sided body.
    b.Lathe({{-1.75f, 0.32f}, {-1.3f, 0.48f}, {0.2f, 0.5f}, {1.2f, 0.3f}, {2.0f, 0.0f}}, 6, {1.0f, 0.62f}, hull, kPi / 6);
    // Canopy bubble on top.
    {
        const size_t first = b.VertexCount();
        b.Lathe({{-0.6f, 0.0f}, {-0.3f, 0.2f}, {0.4f, 0.2f}, {0.95f, 0.0f}}, 6, {1.0f, 1.0f}, canopy, kPi / 6);
        b.Transform(first, MatrixScaling(1.0f, 0.9f, 1.0f) * MatrixTranslation(0, 0.28f, 0.2f));
    }
    // Wings: thin swept plates with orange tips.
    for (float s : {-1.0f, 1.0f}) {
        const Vec3 root0{0.35f * s, -0.05f, 0.7f}, root1{0.35f * s, -0.05f, -1.5f};
        const Vec3 tip0{2.05f * s, -0.18f, -1.05f}, tip1{2.1f * s, -0.18f, -1.55f};
        const Vec3 up{0, 0.05f, 0};
        b.Polygon({root0 + up, tip0 + up, tip1 + up, root1 + up}, {0, 1, 0}, hull,
                  {{0.1f, 0.1f}, {0.9f, 0.5f}, {0.9f, 0.6f}, {0.1f, 0.9f}});
        b.Polygon({root0 - up, tip0 - up, tip1 - up, root1 - up}, {0, -1, 0}, dark);
        b.Quad(root0 + up, tip0 + up, tip0 - up, root0 - up, {0, 0, 1}, trim);
        b.Quad(tip0 + up, tip1 + up, tip1 - up, tip0 - up, {s, 0, 0}, trim);
        b.Quad(tip1 + up, root1 + up, root1 - up, tip1 - up, {0, 0, -1}, dark);
        // Tail fin, canted outwards.
        const Vec3 f0{0.28f * s, 0.2f, -0.6f}, f1{0.28f * s, 0.2f, -1.7f}, f2{0.62f * s, 0.95f, -1.75f},
            f3{0.55f * s, 0.95f, -1.35f};
        const Vec3 side{0.04f, 0, 0};
        b.Polygon({f0 + side, f1 + side, f2 + side, f3 + side}, {1, 0.3f * s, 0}, trim);
        b.Polygon({f0 - side, f1 - side, f2 - side, f3 - side}, {-1, -0.3f * s, 0}, trim);
        // Engine pod with a glowing nozzle.
        b.Tube({0.42f * s, -0.05f, -0.9f}, {0.42f * s, -0.05f, -1.95f}, 0.2f, 8, dark);
        const size_t first = b.VertexCount();
        b.Lathe({{0.0f, 0.16f}, {0.02f, 0.16f}}, 8, {1, 1}, engine);
        b.Transform(first, MatrixTranslation(0.42f * s, -0.05f, -1.97f));
    }
    return mesh;
}

// An enemy unit: a spiked core about 1.7 units across (players within 2.0 are struck).
XMesh EnemyUnit() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t shell = mesh.AddMaterial(Glossy(0.55f, 0.1f, 0.08f, 30.0f));
    const uint32_t blade = mesh.AddMaterial(NeonOf(palette::kOrange));
    const uint32_t eye = mesh.AddMaterial(Neon(1.0f, 0.9f, 0.4f));
    b.Lathe({{-0.55f, 0.0f}, {-0.2f, 0.45f}, {0.25f, 0.45f}, {0.6f, 0.0f}}, 8, {1, 1}, shell, kPi / 8);
    // Four blades in an X, swept back.
    for (int i = 0; i < 4; ++i) {
        const float a = kPi / 4 + static_cast<float>(i) * kPi / 2;
        const Vec3 dir{std::cos(a), std::sin(a), 0};
        const Vec3 side{-dir.y * 0.05f, dir.x * 0.05f, 0};
        const Vec3 p0 = dir * 0.35f + Vec3{0, 0, 0.25f}, p1 = dir * 0.85f + Vec3{0, 0, -0.35f},
                   p2 = dir * 0.35f + Vec3{0, 0, -0.4f};
        b.Polygon({p0 + side, p1 + side, p2 + side}, side, blade);
        b.Polygon({p0 - side, p1 - side, p2 - side}, -side, blade);
    }
    const size_t first = b.VertexCount();
    b.Lathe({{0.0f, 0.22f}, {0.08f, 0.0f}}, 8, {1, 1}, eye);
    b.Transform(first, MatrixTranslation(0, 0, 0.52f));
    return mesh;
}

// The gun: a low turret with two barrels along +z ending at the muzzles (x = +-0.5).
XMesh Gun() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t metal = mesh.AddMaterial(Glossy(0.35f, 0.37f, 0.42f, 50.0f));
    const uint32_t dark = mesh.AddMaterial(Matte(0.1f, 0.1f, 0.13f));
    const uint32_t glow = mesh.AddMaterial(NeonOf(palette::kCyan));
    b.Box(MatrixTranslation(0, 0, 0.1f), {0.45f, 0.18f, 0.5f}, metal);
    b.Box(MatrixTranslation(0, 0.2f, -0.05f), {0.25f, 0.08f, 0.3f}, dark);
    for (float s : {-0.5f, 0.5f}) {
        b.Box(MatrixTranslation(s, 0, 0.3f), {0.12f, 0.12f, 0.4f}, metal);
        b.Tube({s, 0, 0.5f}, {s, 0, 2.2f}, 0.07f, 8, dark);
        b.Tube({s, 0, 2.05f}, {s, 0, 2.3f}, 0.1f, 8, glow);
    }
    return mesh;
}

// A shot: a glowing double cone 3 units long along +z.
XMesh Bolt() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t core = mesh.AddMaterial(NeonOf(palette::kCyan));
    b.Lathe({{-1.5f, 0.0f}, {-0.9f, 0.16f}, {0.6f, 0.24f}, {1.5f, 0.0f}}, 6, {1, 1}, core);
    return mesh;
}

// Smooth normals from the faces around each vertex, for the vertices from `first` on, each
// kept on the side its old normal was on (the shapes bent this way stay star-shaped).
void SmoothNormals(XMesh& mesh, size_t first) {
    const std::vector<Vec3> old(mesh.normals.begin() + static_cast<std::ptrdiff_t>(first), mesh.normals.end());
    for (size_t v = first; v < mesh.normals.size(); ++v) mesh.normals[v] = {0, 0, 0};
    for (const auto& f : mesh.faces) {
        if (f[0] < first) continue;
        const Vec3 a = mesh.positions[f[0]];
        const Vec3 n = Vec3Cross(mesh.positions[f[1]] - a, mesh.positions[f[2]] - a);
        for (uint32_t v : f) mesh.normals[v] = mesh.normals[v] + n;
    }
    for (size_t v = first; v < mesh.normals.size(); ++v) {
        Vec3 n = Vec3Normalize(mesh.normals[v]);
        if (Vec3Dot(n, old[v - first]) < 0) n = n * -1.0f;
        mesh.normals[v] = n;
    }
}

// The blast: a lumpy fireball reaching one unit along +x, in one untextured material (it
// fades through it). Matte, so it reads as a burst of flame rather than a polished ball: the
// lit side burns yellow, the far side orange, and the emissive part blooms.
XMesh Blast() {
    XMesh mesh;
    MeshBuilder b(mesh);
    XMaterial fire = Matte(0.9f, 0.32f, 0.08f);
    fire.emissive = {0.85f, 0.32f, 0.05f};
    fire.specular = {0, 0, 0};
    fire.power = 0.0f;
    b.Sphere(1.0f, 32, 20, mesh.AddMaterial(fire));
    // Billows: bulges of several sizes pushed out of the sphere, from directions spread over it
    // by the golden angle.
    constexpr int kBillows = 14;
    float widest = 0;
    for (Vec3& p : mesh.positions) {
        float r = 0.72f;
        for (int k = 0; k < kBillows; ++k) {
            const float y = 1.0f - 2.0f * (static_cast<float>(k) + 0.5f) / kBillows;
            const float a = 2.3999632f * static_cast<float>(k), ring = std::sqrt(1.0f - y * y);
            const Vec3 c{ring * std::cos(a), y, ring * std::sin(a)};
            const float height = 0.14f + 0.12f * static_cast<float>((k * 5) % 3) / 2.0f;
            r += height * std::pow(std::max(0.0f, Vec3Dot(p, c)), 14.0f);
        }
        p = p * r;
        widest = std::max(widest, p.x);
    }
    for (Vec3& p : mesh.positions) p = p / widest;
    SmoothNormals(mesh, 0);
    return mesh;
}

}  // namespace

void AddCraftModels(AssetList& out) {
    out.push_back({"model/chara.x", WriteXFile(Craft(), "chara")});
    out.push_back({"model/enemy.x", WriteXFile(EnemyUnit(), "enemy")});
    out.push_back({"model/weapon.x", WriteXFile(Gun(), "weapon")});
    out.push_back({"model/bullet.x", WriteXFile(Bolt(), "bullet")});
    out.push_back({"model/explosion.x", WriteXFile(Blast(), "explosion")});
}
