// The game scene's drawing: in the 3D pass the maps, the characters, the spinning gates, the gun
// and the shots, then the camera-fixed HUD panels and the editor's markers; then the HUD's
// sprites.
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_game.hpp"

using namespace platform;

namespace {

void DrawModel(ModelCache& models, const char* file, const Matrix& world) {
    GameEffects::Instance().simpleShader.Draw(models.Get(file), world);
}

}  // namespace

void SceneGame::Draw3D() {
    if (!courseError_.empty()) return;
    RenderDevice& d = *GraphicsDevice::Instance().device;
    ModelCache& models = services_.assets().models;
    DrawModel(models, "data/model/mapB.x", mapWorld_);
    // A destroyed player and its gun vanish; enemies draw only once released.
    for (size_t i = 0; i < characters.size(); ++i)
        if (i != 0 || !run_.Destroyed()) characters[i]->Draw();
    DrawGates();
    if (!run_.Destroyed()) weapon->Draw();
    bullets->Draw();

    {
        // The glowing grid of the map the player flies over is added onto the picture.
        RenderStateGuard glow(d);
        glow.Blend(BlendMode::Additive);
        DrawModel(models, "data/model/mapA.x", mapWorld_);
    }
    {
        // The HUD panels are unlit and hide nothing drawn after them.
        RenderStateGuard panels(d);
        panels.Blend(BlendMode::Alpha).Lighting(false).DepthWrite(false);
        hud_.DrawPanels(run_, camera->world, drawSteps);
    }
    services_.overlay().DrawCheckpoints(models);
}

// Spawn and trigger gates of the enemy routes turn one way, the goal the other; every other
// gate is invisible in play.
void SceneGame::DrawGates() {
    ModelCache& models = services_.assets().models;
    float& enemyGateSpin = services_.kept().enemyGateSpin;
    float& goalGateSpin = services_.kept().goalGateSpin;
    for (int step = 0; step < drawSteps; ++step) {
        enemyGateSpin += 0.8f;
        if (enemyGateSpin > 360.0f) enemyGateSpin = 0.0f;
        goalGateSpin += 0.3f;
    }
    const Matrix enemyTurn = MatrixRotationZ(-enemyGateSpin * kDegToRad);
    const Matrix goalTurn = MatrixRotationZ(goalGateSpin * kDegToRad);
    for (const auto& cp : course) {
        if (cp->enemyNo != 0 && cp->kind == checkpoint_kind::kStart)
            DrawModel(models, "data/model/EgateS.x", enemyTurn * cp->world);
        else if (cp->enemyNo != 0 && cp->kind == checkpoint_kind::kTrigger)
            DrawModel(models, "data/model/Egate.x", enemyTurn * cp->world);
        else if (cp->enemyNo == 0 && cp->kind == checkpoint_kind::kEnd)
            DrawModel(models, "data/model/gate.x", goalTurn * cp->world);
    }
}

void SceneGame::Draw2D() {
    if (courseError_.empty())
        hud_.DrawSprites(run_, cursor_, fireHeld_, drawSteps);
    else
        hud_.DrawFade(run_);
}
