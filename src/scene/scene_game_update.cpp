// The game scene's update: gates passed, enemies released, hits counted, and the opening, play
// and run-over branches of the run.
#include <algorithm>
#include <cstdio>

#include "chara/controls.hpp"
#include "chara/player.hpp"
#include "graphics/graphics_device.hpp"
#include "pilot/pilot.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input.hpp"
#include "scene/best_runs.hpp"
#include "scene/controls_reader.hpp"
#include "scene/game_options.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_game.hpp"

using namespace platform;

namespace {
constexpr const char* kMusic = "data/sound/bgm.wav";
constexpr const char* kEditorGround = "data/model/mapD.x";  // walk mode keeps to this map
}  // namespace

SceneId SceneGame::Update(const Controls& fromPlayer) {
    if (!courseError_.empty()) {
        // Said once; the title takes over in this frame.
        std::fprintf(stderr, "korvelin: %s\n", courseError_.c_str());
        ShowMessage(GraphicsDevice::Instance().window, courseError_, "-KORVELIN-", DialogIcon::Error);
        return kSceneTitle;
    }
    // Whatever the player presses ends the demo, and does nothing else.
    if (demo_ && fromPlayer.anyPress) return kSceneTitle;
    // The pilot decides from what the last frame showed, before anything of this update moves.
    Controls flown;
    if (pilot_) {
        const PresentParams& pp = GraphicsDevice::Instance().presentParams;
        flown = pilot_->Fly({player(), *camera, weapon->world, characters,
                             float(pp.backBufferWidth) / float(pp.backBufferHeight)});
        flown.back = fromPlayer.back;
    }
    const Controls& controls = pilot_ ? flown : fromPlayer;
    services_.sound().PlayBgm(kMusic);
    cursor_ = {controls.lookX, controls.lookY};
    fireHeld_ = controls.fire;
    // A tap between two frames asks as well as a held key, so a slow frame cannot miss it.
    if (controls.back && Leave()) return kSceneTitle;

    UpdateCharacters(controls);
    skyWorld_ = skyBase_ * MatrixScaling(5, 5, 5);
    skyWorld_.SetRow(3, player().world.Row(3));
    if (UpdatePhase(controls) != sceneId) return kSceneTitle;
    AimGun(camera->target, controls);
    hud_.Update(controls, run_);
    services_.overlay().ShowState(player().world, controls.fly);
    KeepFinishedRun();
    return sceneId;
}

void SceneGame::UpdateCharacters(const Controls& controls) {
    // While the overlay is on, its flight controls move the craft in place of its own steering,
    // right after the craft's update and before the enemies see where it is.
    DebugUi& overlay = services_.overlay();
    Player* craft = dynamic_cast<Player*>(characters[0].get());
    if (craft) craft->steeredByOverlay = overlay.enabled;
    for (size_t i = 0; i < characters.size(); ++i) {
        CharaBase& body = *characters[i];
        rules_.PassGateIfReached(i);
        if (body.Update({mapWorld_, *bullets, player(), &run_.score, run_.lives, controls})) rules_.Strike();
        if (&body == craft && craft->steeredByOverlay)
            overlay.FlyControls(body.world, mapWorld_, *services_.assets().models.Get(kEditorGround), controls.fly);
        rules_.FlashStep();
        overlay.DebugText("ID%d", player().current.gate().kind);
    }
}

SceneId SceneGame::UpdatePhase(const Controls& controls) {
    DebugUi& overlay = services_.overlay();
    switch (run_.phase) {
        case RunPhase::Opening:
            AimGun(camera->target, controls);
            run_.fadeAlpha -= 3;
            if (run_.fadeAlpha < 0) {
                run_.OpeningDone();
                run_.fadeAlpha = 0;
            }
            camera->fov = run_.openingFov;
            run_.openingFov = std::max(80.0f, run_.openingFov - 2.0f);
            camera->Update(player().world, skyWorld_);
            overlay.ShowCameraState(camera->rayDistance, player().world.Row(3), camera->target);
            break;
        case RunPhase::RunOver:
        case RunPhase::Result:
            AimGun(Vec3TransformCoord({0, 1.5f, 1}, player().world), controls);
            bullets->Update(weapon->world, mapWorld_, controls.fire, run_.ended);
            camera->UpdateEnd(player().world, run_.endFrames, run_.hitsLeft);
            run_.CountAfterEnd();
            if (run_.endFrames > RunState::kFadeStartFrame) run_.fadeAlpha = std::min(255, run_.fadeAlpha + 3);
            if (run_.endFrames > RunState::kLeaveFrame) return kSceneTitle;
            break;
        case RunPhase::Play:
            AimGun(camera->target, controls);
            if (overlay.enabled)
                overlay.FreeLook(*camera, controls);
            else
                MouseLook(controls);
            bullets->Update(weapon->world, mapWorld_, controls.fire, run_.ended);
            camera->Update(player().world, skyWorld_);
            overlay.ShowCameraState(camera->rayDistance, player().world.Row(3), camera->target);
            break;
    }
    return sceneId;
}

// The player's run enters the best list the update it ends; a run the pilot flew (the demo, or
// --autopilot) is not the player's and never does.
void SceneGame::KeepFinishedRun() {
    if (!run_.ended || runKept_ || pilot_) return;
    runKept_ = true;
    const KeptRun kept = KeepRun({int64_t(run_.score) + int64_t(run_.lives) * 2000, run_.lives, !run_.Destroyed(), {},
                                  CurrentGameOptions().seed.value_or(0), {}});
    hud_.bestPlace = kept.place;
    if (kept.failed) hud_.ShowNotSaved(kept.reason, kept.keptAt);
}

void SceneGame::MouseLook(const Controls& controls) {
    const CursorOffset pulled = mouse->Update(*camera, {controls.lookX, controls.lookY}, controls.feel);
    if (pulled == cursor_) return;
    cursor_ = pulled;
    // The pilot's look is its own, not the device's cursor.
    if (pilot_) return;
    Input& input = GetInput();
    const Point middle = PictureMiddle(input);
    input.SetCursorPos({middle.x + pulled.x, middle.y + pulled.y});
}

// The gun follows the player and points at `point`; the overlay shows the axis it banks about.
void SceneGame::AimGun(Vec3 point, const Controls& controls) {
    weapon->Aim(player().world, point, controls.slideLeft, controls.slideRight);
    const Vec3 axis = weapon->rotAxis;
    services_.overlay().DebugText("RotAxis.x:%f\nRotAxis.y:%f\nRotAxis.z:%f\n", axis.x, axis.y, axis.z);
}

// Escape asks whether to go back to the title; No is the default and the run goes on.
bool SceneGame::Leave() {
    Input& input = GetInput();
    input.ShowCursor(true);
    const bool yes = AskYesNo(GraphicsDevice::Instance().window, Tr("Return to the title?"), Tr("Confirm"), false);
    input.ShowCursor(false);
    return yes;
}
