// course.png: views along the main course as play will show them: the chase camera behind the
// craft over the flight path, looking towards the next gate; mapB lit, mapA added over it, the
// goal and enemy gates spinning, the craft with its gun, the sky backdrop behind the world.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/game_effects.hpp"
#include "canvas.hpp"
#include "course/course_file.hpp"
#include "frame_runner.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace platform;
using namespace contact_sheet;

namespace {

constexpr float kGateDrop = 110.0f;     // main-course gates stand this far below the flight path
constexpr float kFlightHeight = 7.0f;   // the craft keeps this far above the ground
constexpr float kFieldOfView = 80.0f;   // the chase camera's, degrees
const Matrix kChaseOffset = MatrixTranslation(0, 6, -12);
const Matrix kGunOffset = MatrixTranslation(0, 1.5f, -0.655f);

// Where the craft flies as it passes main-course gate k, facing the next gate. The height is the
// ground under it plus the flight height, which should agree with the gate's drop; the
// difference is reported so a course that does not keep it shows up here.
Matrix CraftAt(const Model& ground, const CourseList& course, size_t k, size_t mainCount, float* heightError) {
    const Vec3 gate = course[k]->world.Row(3);
    Vec3 forward = course[k]->world.Row(2);
    if (k + 1 < mainCount) forward = course[k + 1]->world.Row(3) - gate;
    forward.y = 0;
    forward = Vec3Normalize(forward);
    Vec3 at = gate + Vec3{0, kGateDrop, 0};
    *heightError = 0;
    const RayHit hit = ground.Intersect(at + Vec3{0, 2000, 0}, {0, -1, 0});
    if (hit.hit) {
        const float flight = at.y + 2000 - hit.distance + kFlightHeight;
        *heightError = at.y - flight;
        at.y = flight;
    }
    Matrix world = Matrix::Identity();
    world.SetRow(0, Vec3Cross({0, 1, 0}, forward));
    world.SetRow(1, {0, 1, 0});
    world.SetRow(2, forward);
    world.SetRow(3, at);
    return world;
}

// The 3D pass of play, without enemies, shots and the HUD panels.
void DrawWorld(ModelCache& models, const CourseList& course, const Matrix& craft, float enemySpin, float goalSpin) {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    const auto DrawModel = [&](const char* file, const Matrix& world) {
        SimpleShader& shader = GameEffects::Instance().simpleShader;
        shader.effect.SetMatrix("mW", world);
        shader.Draw(models.Get(file));
    };
    DrawModel("data/model/mapB.x", Matrix::Identity());
    DrawModel("data/model/chara.x", craft);
    const Matrix enemyTurn = MatrixRotationZ(-enemySpin * kDegToRad);
    const Matrix goalTurn = MatrixRotationZ(goalSpin * kDegToRad);
    for (const auto& cp : course) {
        if (cp->enemyNo != 0 && cp->kind == 0) DrawModel("data/model/EgateS.x", enemyTurn * cp->world);
        else if (cp->enemyNo != 0 && cp->kind == 3) DrawModel("data/model/Egate.x", enemyTurn * cp->world);
        else if (cp->enemyNo == 0 && cp->kind == 2) DrawModel("data/model/gate.x", goalTurn * cp->world);
    }
    DrawModel("data/model/weapon.x", kGunOffset * craft);
    RenderStateGuard glow(d);
    glow.Blend(BlendMode::Additive);
    DrawModel("data/model/mapA.x", Matrix::Identity());
}

}  // namespace

bool WriteCourseSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    CourseList course;
    const CourseLoadReport report = LoadCourse(kCourseFile, course);
    if (!report.Ok() || course.empty()) {
        *error = report.message.empty() ? "the course is empty" : report.message;
        return false;
    }
    AssetCaches& assets = runner.services().assets();
    size_t mainCount = 0;
    while (mainCount < course.size() && course[mainCount]->enemyNo == 0) ++mainCount;
    // The start, the first trigger gate (the first enemy route ahead), the middle, the goal ahead.
    size_t firstTrigger = 1;
    while (firstTrigger + 1 < mainCount && course[firstTrigger]->kind != 3) ++firstTrigger;
    const size_t views[kCourseViews] = {0, firstTrigger, mainCount / 2, mainCount >= 3 ? mainCount - 3 : 0};
    Canvas sheet(SheetWidth(kFrameWidth, kCourseColumns), SheetHeight(kFrameHeight, kCourseViews, kCourseColumns),
                 kGutterColor);
    for (int v = 0; v < kCourseViews; ++v) {
        const size_t k = std::min(views[v], mainCount - 1);
        float heightError = 0;
        const Matrix craft = CraftAt(*assets.models.Get("data/model/mapA.x"), course, k, mainCount, &heightError);
        if (std::fabs(heightError) > 1.0f)
            std::fprintf(stderr, "korvelin-contact-sheet: gate %zu stands %.1f units off the flight path's drop\n", k,
                         double(heightError));
        const Matrix camera = kChaseOffset * craft;
        char label[128];
        std::snprintf(label, sizeof label, "gate %zu of %zu (kind %d): chase camera, next gate ahead", k, mainCount,
                      course[k]->kind);
        FrameDrawing drawing;
        drawing.preDraw = [&] {
            RenderDevice& d = *GraphicsDevice::Instance().device;
            d.SetTransform(TransformType::View, MatrixInverse(camera));
            d.SetTransform(TransformType::Projection,
                           MatrixPerspectiveFovLH(kFieldOfView * kDegToRad, float(kFrameWidth) / float(kFrameHeight),
                                                  0.01f, 10000.0f));
        };
        drawing.draw3d = [&] { DrawWorld(assets.models, course, craft, 40.0f * float(v), 25.0f * float(v)); };
        drawing.draw2d = [&] {
            GraphicsDevice& gd = GraphicsDevice::Instance();
            const Matrix back = MatrixTranslation(0, 0, 1);
            gd.DrawSprite(assets.textures.Get("data/Texture/back.png"), 0xFFFFFFFF, &back);
            runner.Label(label, 8, 8, 2.0f);
        };
        const std::vector<uint8_t> frame = runner.Frame(drawing);
        sheet.Paste(frame, kFrameWidth, kFrameHeight, 0, 0, kFrameWidth, kFrameHeight, 1,
                    TileX(v, kFrameWidth, kCourseColumns), TileY(v, kFrameHeight, kCourseColumns));
    }
    return sheet.WritePng(outDir + "/course.png", error);
}
