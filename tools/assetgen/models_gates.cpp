// Gates: the pass-test panels, the editor's markers and the spinning rings seen in play.
#include <cmath>

#include "asset_tree.hpp"
#include "gate_shapes.hpp"
#include "materials.hpp"
#include "mesh_builder.hpp"

namespace {

constexpr float kPi = 3.14159265358979f;

// Cells of "markers.png" (4 x 2 cells), one label each.
enum class Label { Gate = 0, Start, Goal, Trigger, EnemyGate, Spawn, Join };

Vec2 CellMin(Label l) {
    const int i = static_cast<int>(l);
    return {static_cast<float>(i % 4) / 4.0f, static_cast<float>(i / 4) / 2.0f};
}

// An upright two-sided panel in the xy-plane carrying one label of the marker sheet.
void Panel(MeshBuilder& b, uint32_t material, float halfWidth, float bottom, float top, Label label) {
    const Vec2 uv0 = CellMin(label);
    const Vec2 uv1{uv0.x + 0.25f, uv0.y + 0.5f};
    b.Quad({-halfWidth, top, 0}, {halfWidth, top, 0}, {halfWidth, bottom, 0}, {-halfWidth, bottom, 0}, {0, 0, -1},
           material, true, uv0, uv1);
}

XMesh PassPanel(float halfWidth, float bottom, float top, Label label, float r, float g, float bl) {
    XMesh mesh;
    MeshBuilder b(mesh);
    XMaterial m = Neon(r, g, bl, "markers.png");
    m.diffuse.a = 0.6f;
    Panel(b, mesh.AddMaterial(m), halfWidth, bottom, top, label);
    return mesh;
}

// An editor marker: a labelled panel inside a glowing frame, so it reads at a glance.
XMesh Marker(float halfWidth, float bottom, float top, Label label, const float (&colour)[3]) {
    XMesh mesh = PassPanel(halfWidth, bottom, top, label, colour[0], colour[1], colour[2]);
    MeshBuilder b(mesh);
    const uint32_t frame = mesh.AddMaterial(NeonOf(colour));
    const float t = halfWidth * 0.04f;
    const float midY = (top + bottom) * 0.5f, halfH = (top - bottom) * 0.5f;
    b.Box(MatrixTranslation(0, top, 0), {halfWidth + t, t, t}, frame);
    b.Box(MatrixTranslation(0, bottom, 0), {halfWidth + t, t, t}, frame);
    b.Box(MatrixTranslation(-halfWidth, midY, 0), {t, halfH, t}, frame);
    b.Box(MatrixTranslation(halfWidth, midY, 0), {t, halfH, t}, frame);
    return mesh;
}

// A ring around the z axis whose segments alternate between two materials, so its spin shows.
void BandedRing(MeshBuilder& b, float radius, float tube, int segments, uint32_t lit, uint32_t dark, int litEvery) {
    b.Torus(radius, tube, segments, 8, [&](int s) { return s % litEvery == 0 ? lit : dark; });
}

// The goal: a giant ring around its underground origin; the player flies under its upper arc.
XMesh GoalRing() {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t gold = mesh.AddMaterial(NeonOf(palette::kGold));
    const uint32_t metal = mesh.AddMaterial(Glossy(0.2f, 0.18f, 0.25f, 40.0f));
    const uint32_t cyan = mesh.AddMaterial(NeonOf(palette::kCyan));
    const float R = gate_shapes::kGoalRingRadius;
    BandedRing(b, R, 7.0f, 48, gold, metal, 2);
    b.Torus(R - 9.0f, 1.5f, 48, 6, [&](int) { return cyan; });
    b.Torus(R + 9.0f, 1.5f, 48, 6, [&](int) { return cyan; });
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * 2 * kPi / 12;
        b.Box(MatrixTranslation(R + 14.0f, 0, 0) * MatrixRotationZ(a), {8.0f, 3.0f, 3.0f}, i % 2 ? gold : cyan);
    }
    return mesh;
}

// An enemy route gate, spinning at the enemy's height: the chain passes through its middle.
XMesh EnemyRing(bool spawn) {
    XMesh mesh;
    MeshBuilder b(mesh);
    const uint32_t lit = mesh.AddMaterial(spawn ? NeonOf(palette::kRed) : NeonOf(palette::kMagenta));
    const uint32_t dark = mesh.AddMaterial(Glossy(0.18f, 0.08f, 0.16f, 40.0f));
    const uint32_t accent = mesh.AddMaterial(NeonOf(palette::kOrange));
    const float R = spawn ? 15.0f : 12.5f;
    BandedRing(b, R, spawn ? 1.4f : 0.9f, 24, lit, dark, 2);
    const int spikes = spawn ? 8 : 4;
    for (int i = 0; i < spikes; ++i) {
        const float a = static_cast<float>(i) * 2 * kPi / static_cast<float>(spikes);
        const size_t first = b.VertexCount();
        // Spawn gates point their spikes inwards (a portal), route gates carry outer fins.
        if (spawn)
            b.Lathe({{0.0f, 0.6f}, {3.5f, 0.0f}}, 4, {1, 1}, accent);
        else
            b.Box(MatrixTranslation(0, 0, 1.2f), {0.5f, 0.3f, 1.2f}, accent);
        const Matrix place = spawn ? MatrixRotationY(-kPi / 2) * MatrixTranslation(R - 0.5f, 0, 0) * MatrixRotationZ(a)
                                   : MatrixRotationY(kPi / 2) * MatrixTranslation(R + 0.8f, 0, 0) * MatrixRotationZ(a);
        b.Transform(first, place);
    }
    return mesh;
}

}  // namespace

void AddGateModels(AssetList& out) {
    using namespace gate_shapes;
    const float e = kEnemyHalfSize;
    out.push_back({"model/CheckPoint.x",
                   WriteXFile(PassPanel(kMainHalfWidth, kMainBottom, kMainTop, Label::Gate, 0.3f, 0.7f, 1.0f), "CheckPoint")});
    out.push_back({"model/CheckPoint2.x", WriteXFile(PassPanel(e, -e, e, Label::EnemyGate, 1.0f, 0.3f, 0.8f), "CheckPoint2")});
    const float green[3] = {0.3f, 1.0f, 0.45f};
    const float yellow[3] = {1.0f, 0.85f, 0.2f};
    out.push_back({"model/CheckPointS.x", WriteXFile(Marker(kMainHalfWidth, kMainBottom, kMainTop, Label::Start, green), "CheckPointS")});
    out.push_back({"model/CheckPointE.x", WriteXFile(Marker(kMainHalfWidth, kMainBottom, kMainTop, Label::Goal, palette::kRed), "CheckPointE")});
    out.push_back({"model/CheckPointSP.x", WriteXFile(Marker(kMainHalfWidth, kMainBottom, kMainTop, Label::Trigger, yellow), "CheckPointSP")});
    out.push_back({"model/CheckPointS2.x", WriteXFile(Marker(e, -e, e, Label::Spawn, palette::kOrange), "CheckPointS2")});
    out.push_back({"model/CheckPointE2.x", WriteXFile(Marker(e, -e, e, Label::Join, palette::kMagenta), "CheckPointE2")});
    out.push_back({"model/gate.x", WriteXFile(GoalRing(), "gate")});
    out.push_back({"model/Egate.x", WriteXFile(EnemyRing(false), "Egate")});
    out.push_back({"model/EgateS.x", WriteXFile(EnemyRing(true), "EgateS")});
}
