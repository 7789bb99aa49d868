// The game scene's stand-in: a flight along the course.
#include "scene/scene_game.hpp"

#include <algorithm>
#include <cmath>

#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "graphics/texture_cache.hpp"
#include "platform/trace/trace_writer.hpp"
#include "platform/window/input.hpp"
#include "sound/sound_manager.hpp"

using namespace platform;

namespace {

constexpr const char* kMusic = "data/sound/bgm.wav";

Vec3 Flat(Vec3 v) { return {v.x, 0, v.z}; }

void DrawModel(const char* file, const Matrix& world) {
    SimpleShader& shader = GameEffects::Instance().simpleShader;
    shader.effect.SetMatrix("mW", world);
    shader.Draw(gModelCache->Get(file));
}

}  // namespace

SceneGame::SceneGame() {
    sceneId = kSceneGame;
    LoadCourse(kCourseFile, course_);
    for (const auto& cp : course_) {
        if (cp->enemyNo != 0) break;  // the main course comes first
        path_.push_back(cp->world.Row(3) + Vec3{0, kGateDrop, 0});
    }
    Restart();
}

void SceneGame::Restart() {
    next_ = 1;
    position_ = path_.empty() ? Vec3{} : path_[0];
    if (path_.size() > 1) heading_ = Vec3Normalize(Flat(path_[1] - path_[0]));
}

SceneId SceneGame::Update() {
    if (gSoundManager) gSoundManager->PlayBgm(kMusic);
    if (GetInput().KeyDown(Key::Escape)) return kSceneTitle;
    spin_ += 1.0f;
    if (path_.size() < 2) return kSceneGame;
    // Turn smoothly towards the next gate and fly on; past the goal, start again.
    const Vec3 toGate = Flat(path_[next_] - position_);
    if (Vec3Length(toGate) < 20.0f) {
        if (++next_ >= path_.size()) Restart();
        return kSceneGame;
    }
    heading_ = Vec3Normalize(heading_ * 0.97f + Vec3Normalize(toGate) * 0.03f);
    position_ += heading_ * kSpeed;
    // Keep the flight height over the ground where there is ground.
    if (gModelCache) {
        const RayHit hit = gModelCache->Get("data/model/mapA.x")->Intersect(position_ + Vec3{0, 1000, 0}, {0, -1, 0});
        if (hit.hit) {
            const float ground = position_.y + 1000 - hit.distance;
            position_.y += (ground + kFlightHeight - position_.y) * 0.2f;
        }
    }
    return kSceneGame;
}

void SceneGame::WriteTrace(TraceWriter& trace) const {
    trace.BeginObject("player");
    trace.Vec("pos", position_);
    trace.Vec("fwd", heading_);
    trace.Int("current", int64_t(next_));
    trace.EndObject();
}

Matrix SceneGame::CraftWorld() const {
    Matrix world = Matrix::Identity();
    world.SetRow(0, Vec3Normalize(Vec3Cross({0, 1, 0}, heading_)));
    world.SetRow(1, {0, 1, 0});
    world.SetRow(2, heading_);
    world.SetRow(3, position_);
    return world;
}

void SceneGame::PreDraw() {
    RenderDevice& d = *GraphicsDevice::Instance().device;
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    const Matrix camera = MatrixTranslation(0, 6, -12) * CraftWorld();
    d.SetTransform(TransformType::View, MatrixInverse(camera));
    d.SetTransform(TransformType::Projection,
                   MatrixPerspectiveFovLH(80.0f * kDegToRad, float(pp.backBufferWidth) / float(pp.backBufferHeight),
                                          0.01f, 10000.0f));
}

void SceneGame::Draw3D() {
    if (!gModelCache) return;
    RenderDevice& d = *GraphicsDevice::Instance().device;
    const Matrix craft = CraftWorld();
    DrawModel("data/model/mapB.x", Matrix::Identity());
    DrawModel("data/model/chara.x", craft);
    DrawModel("data/model/weapon.x", MatrixTranslation(0, 1.5f, -0.655f) * craft);
    const Matrix enemyTurn = MatrixRotationZ(-spin_ * kDegToRad);
    const Matrix goalTurn = MatrixRotationZ(spin_ * 0.5f * kDegToRad);
    for (const auto& cp : course_) {
        if (cp->enemyNo != 0 && cp->kind == 0)
            DrawModel("data/model/EgateS.x", enemyTurn * cp->world);
        else if (cp->enemyNo != 0 && cp->kind == 3)
            DrawModel("data/model/Egate.x", enemyTurn * cp->world);
        else if (cp->enemyNo == 0 && cp->kind == 2)
            DrawModel("data/model/gate.x", goalTurn * cp->world);
    }
    // The glowing grid is added over the ground it shares its vertices with.
    d.SetRenderState(RenderState::BlendOp, BlendOp::Add);
    d.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    d.SetRenderState(RenderState::DestBlend, Blend::One);
    DrawModel("data/model/mapA.x", Matrix::Identity());
    d.SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
}

void SceneGame::Draw2D() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (gTextureCache) {
        const Matrix back = MatrixTranslation(0, 0, 1);
        gd.DrawSprite(gTextureCache->Get("data/Texture/back.png"), 0xFFFFFFFF, &back);
    }
    const Matrix at = MatrixScaling(2, 2, 1) * MatrixTranslation(24, 20, 0);
    gd.DrawText("Course preview: the run itself is still being built. Escape returns to the title.", 0xFFFFFFFF, &at);
}
