// models.png: every model of data/model from three angles, framed to fit its vertices, lit by the
// scene manager's light and drawn by the effect the game draws it with.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/game_effects.hpp"
#include "canvas.hpp"
#include "frame_runner.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "platform/mesh/x_file_loader.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace platform;
using namespace contact_sheet;

namespace {

struct Angle {
    const char* name;
    Vec3 direction;  // from the model's centre towards the camera
};
// The models face +z: seen from ahead, from their right, and from above and behind as the
// chase camera sees the craft. Text on a gate reads rightly from behind, where the player comes.
constexpr Angle kAngles[kModelAngles] = {
    {"from ahead", {0, 0, 1}}, {"from the right", {1, 0, 0}}, {"from above, behind", {-0.6f, 0.55f, -0.6f}}};

constexpr float kFieldOfView = 0.5235988f;  // 30 degrees, vertical: little perspective stretch
constexpr float kAspect = float(kFrameWidth) / float(kFrameHeight);
constexpr float kMargin = 1.25f;  // room round the model, and for the label

struct Framing {
    Vec3 eye, at;
    float zNear, zFar;
};

// A camera that sees every vertex from `direction`, aimed at the middle of the bounds, as close
// as it can while the model fits the frame. The cached model keeps no vertices once they are on
// the device, so the caller reads the file again for them.

Framing FrameMesh(const MeshData& mesh, Vec3 direction) {
    if (mesh.vertices.empty()) return {{0, 0, -1}, {}, 0.1f, 10.0f};
    const Vec3 centre = (mesh.bounds.min + mesh.bounds.max) * 0.5f;
    const Vec3 back = Vec3Normalize(direction);  // from the centre towards the camera
    const Vec3 forward = -back;
    const Vec3 right = Vec3Normalize(Vec3Cross({0, 1, 0}, forward));
    const Vec3 up = Vec3Cross(forward, right);
    const float tanV = std::tan(kFieldOfView * 0.5f) / kMargin, tanH = tanV * kAspect;
    float distance = 0, nearest = 0, farthest = 0;
    for (const MeshVertex& v : mesh.vertices) {
        const Vec3 o = v.position - centre;
        const float x = Vec3Dot(o, right), y = Vec3Dot(o, up), z = Vec3Dot(o, forward);
        // The vertex lies at depth distance + z and must fit inside the field of view, in
        // front of the camera.
        distance = std::max({distance, std::fabs(x) / tanH - z, std::fabs(y) / tanV - z, -z * 1.05f});
        nearest = std::min(nearest, z);
        farthest = std::max(farthest, z);
    }
    distance = std::max(distance, 1e-3f);
    const float zNear = std::max((distance + nearest) * 0.9f, distance * 1e-3f);
    return {centre + back * distance, centre, zNear, (distance + farthest) * 1.1f + 1e-3f};
}

// Draws the model as the game does: enemies lit and then outlined, shots and explosions with
// their emissive colour, the glowing map added over the picture, everything else plain.
void DrawAsInGame(const std::string& name, const Model* model) {
    GameEffects& effects = GameEffects::Instance();
    RenderDevice& d = *GraphicsDevice::Instance().device;
    const Matrix world = Matrix::Identity();
    effects.simpleShader.effect.SetMatrix("mW", world);
    effects.modelShader.effect.SetMatrix("mW", world);
    if (name == "enemy.x") {
        effects.simpleShader.Draw(model);
        effects.modelShader.DrawOutline(model, 0.01f, {1.0f, 0.5f, 0.2f, 1.0f});
    } else if (name == "bullet.x") {
        effects.modelShader.Draw(model);
    } else if (name == "explosion.x") {
        effects.modelShader.DrawFaded(model, 255);
    } else if (name == "mapA.x") {
        RenderStateGuard glow(d);
        glow.Blend(BlendMode::Additive);
        effects.simpleShader.Draw(model);
    } else {
        effects.simpleShader.Draw(model);
    }
}

std::string SizeText(const MeshBounds& b) {
    char text[96];
    std::snprintf(text, sizeof text, "%.4g x %.4g x %.4g", double(b.max.x - b.min.x), double(b.max.y - b.min.y),
                  double(b.max.z - b.min.z));
    return text;
}

}  // namespace

bool WriteModelSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    const std::vector<std::string> names = ListFiles("data/model", ".x");
    if (names.empty()) {
        *error = "no models in data/model";
        return false;
    }
    if (names.size() != size_t(kModelCount))
        std::fprintf(stderr, "korvelin-contact-sheet: %zu models in data/model, expected %d\n", names.size(), kModelCount);
    const int count = int(names.size()) * kModelAngles;
    Canvas sheet(SheetWidth(kModelTileWidth, kModelAngles), SheetHeight(kModelTileHeight, count, kModelAngles),
                 kGutterColor);
    const float labelScale = float(kModelShrink) * 1.25f;
    for (size_t m = 0; m < names.size(); ++m) {
        const std::string& name = names[m];
        const Model* model = runner.services().assets().models.Get("data/model/" + name);
        const bool loaded = model->mesh && !model->mesh->data().Empty();
        MeshBounds bounds{};
        if (loaded) bounds = model->mesh->data().bounds;
        MeshData file;
        std::string readError;
        if (loaded && !LoadXFile("data/model/" + name, file, readError))
            std::fprintf(stderr, "korvelin-contact-sheet: %s: %s\n", name.c_str(), readError.c_str());
        for (int a = 0; a < kModelAngles; ++a) {
            const Framing view = FrameMesh(file, kAngles[a].direction);
            std::string label = name + "  " + kAngles[a].name;
            if (a == 0) label += loaded ? "  " + SizeText(bounds) : "  (did not load)";
            FrameDrawing drawing;
            drawing.preDraw = [&] {
                RenderDevice& d = *GraphicsDevice::Instance().device;
                d.SetTransform(TransformType::View, MatrixLookAtLH(view.eye, view.at, {0, 1, 0}));
                d.SetTransform(TransformType::Projection,
                               MatrixPerspectiveFovLH(kFieldOfView, kAspect, view.zNear, view.zFar));
            };
            drawing.draw3d = [&] {
                if (loaded) DrawAsInGame(name, model);
            };
            drawing.draw2d = [&] { runner.Label(label, 6, 6, labelScale); };
            const std::vector<uint8_t> frame = runner.Frame(drawing);
            const int tile = int(m) * kModelAngles + a;
            // The frame's width is not a whole multiple of the shrink: its middle is kept.
            const int cut = (kFrameWidth - kModelTileWidth * kModelShrink) / 2;
            sheet.Paste(frame, kFrameWidth, kFrameHeight, cut, 0, kModelTileWidth * kModelShrink, kFrameHeight,
                        kModelShrink, TileX(tile, kModelTileWidth, kModelAngles),
                        TileY(tile, kModelTileHeight, kModelAngles));
        }
    }
    return sheet.WritePng(outDir + "/models.png", error);
}
