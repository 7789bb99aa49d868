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
constexpr const char* kGateMesh = "data/model/CheckPoint.x";
constexpr const char* kEditorGround = "data/model/mapD.x";  // walk mode keeps to this map
}  // namespace

bool SceneGame::RayMeetsGate(const Matrix& body, const CheckPoint& gate, float limit) const {
    const Matrix inverse = MatrixInverse(gate.world);
    const Vec3 origin = Vec3TransformCoord(body.Row(3), inverse);
    const Vec3 direction = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, body), inverse);
    const RayHit hit = services_.assets().models.Get(kGateMesh)->Intersect(origin, direction);
    return hit.hit && hit.distance < limit;
}

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

    // While the overlay is on, its flight controls move the craft in place of its own steering,
    // right after the craft's update and before the enemies see where it is.
    DebugUi& overlay = services_.overlay();
    Player* craft = dynamic_cast<Player*>(characters[0].get());
    if (craft) craft->steeredByOverlay = overlay.enabled != 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        CharaBase& body = *characters[i];
        if (RayMeetsGate(body.world, body.current.gate(), kPassDistance)) PassGate(i);
        if (body.Update(mapWorld, *bullets, player(), &score, lives, controls) != 0 && !damageActive && !runOver)
            TakeHit();
        if (&body == craft && craft->steeredByOverlay)
            overlay.FlyControls(body.world, mapWorld, *services_.assets().models.Get(kEditorGround), controls.fly);
        if (damageActive) RunFlashStep();
        overlay.DebugText("ID%d", player().current.gate().kind);
    }

    skyWorld = skyBase * MatrixScaling(5, 5, 5);
    skyWorld.SetRow(3, player().world.Row(3));

    if (introActive) {
        AimGun(camera->target, controls);
        fadeAlpha -= 3;
        if (fadeAlpha < 0) {
            introActive = 0;
            fadeAlpha = 0;
        }
        camera->fov = introFov;
        introFov = std::max(80.0f, introFov - 2.0f);
        camera->Update(player().world, skyWorld);
        overlay.ShowCameraState(camera->rayDistance, player().world.Row(3), camera->target);
    } else if (runOver) {
        AimGun(Vec3TransformCoord({0, 1.5f, 1}, player().world), controls);
        bullets->Update(weapon->world, mapWorld, controls.fire, runOver);
        camera->UpdateEnd(player().world, endFrames, hitsLeft);
        ++endFrames;
        if (endFrames > kFadeStartFrame) fadeAlpha = std::min(255, fadeAlpha + 3);
        if (endFrames > kLeaveFrame) return kSceneTitle;
    } else {
        AimGun(camera->target, controls);
        if (overlay.enabled)
            overlay.FreeLook(*camera, controls);
        else
            MouseLook(controls);
        bullets->Update(weapon->world, mapWorld, controls.fire, runOver);
        camera->Update(player().world, skyWorld);
        overlay.ShowCameraState(camera->rayDistance, player().world.Row(3), camera->target);
    }
    AimGun(camera->target, controls);

    if (shownScore < score) shownScore = std::min(shownScore + 21, score);
    SteerTilt(controls);
    overlay.ShowState(player().world, controls.fly);
    KeepFinishedRun();
    return sceneId;
}

// The player's run enters the best list the update it ends; a run the pilot flew (the demo, or
// --autopilot) is not the player's and never does.
void SceneGame::KeepFinishedRun() {
    if (!runOver || runKept_ || pilot_) return;
    runKept_ = true;
    bestPlace = KeepRun({int64_t(score) + int64_t(lives) * 2000, lives, hitsLeft >= 0, {},
                         CurrentGameOptions().seed.value_or(0), {}});
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

void SceneGame::PassGate(size_t index) {
    CharaBase& body = *characters[index];
    const CheckPoint& playerGate = player().current.gate();
    if (playerGate.kind == checkpoint_kind::kTrigger && !(player().current == lastTrigger)) ReleaseNextEnemy();

    if (body.current.gate().kind == checkpoint_kind::kEnd) {
        if (index == 0) {
            if (RayMeetsGate(body.world, body.current.gate(), kPassDistance)) runOver = 1;
        } else {
            JoinMainCourse(body);
        }
    }
    // No one is moved past an end gate: the player flies straight on past the goal, and an
    // enemy that found no main-course gate to join stays on its route's end.
    if (body.current.gate().kind != checkpoint_kind::kEnd && body.current.HasNext()) {
        body.current.MoveNext();
        body.OnCheckpointPassed();
    }
}

// Each trigger gate the player heads for releases the next enemy, once.
void SceneGame::ReleaseNextEnemy() {
    enemiesReleased = std::min(enemiesReleased + 1, static_cast<int>(course.size()) - 1);
    for (size_t i = 0; i < course.size(); ++i) {
        if (course[i]->enemyNo != enemiesReleased) continue;
        if (static_cast<size_t>(enemiesReleased) < characters.size()) {
            CharaBase& enemy = *characters[enemiesReleased];
            enemy.current.MoveTo(i);
            enemy.Activate();
        }
        break;
    }
    lastTrigger = player().current;
}

// At its route's end an enemy joins the main course at the first main gate its ray meets.
void SceneGame::JoinMainCourse(CharaBase& enemy) {
    for (size_t i = 0; i < course.size(); ++i) {
        if (course[i]->enemyNo == 0 && RayMeetsGate(enemy.world, *course[i], kJoinDistance)) {
            enemy.current.MoveTo(i);
            return;
        }
    }
}

void SceneGame::TakeHit() {
    --hitsLeft;
    damageActive = 1;
    damageTimer = kFlashLength;
    if (hitsLeft < 0) runOver = 1;
}

// One step of the hit flash; it runs once per character visited.
void SceneGame::RunFlashStep() {
    damageAlpha = std::min(damageTimer, 255);
    damageTimer -= 2;
    if (damageTimer < 0) {
        lives = std::max(0, lives - 1);
        damageTimer = 0;
        damageAlpha = 0;
        damageActive = 0;
    }
}

// The HUD leans with the slide controls and rests at 1.
void SceneGame::SteerTilt(const Controls& controls) {
    if (steerTilt > 1) --steerTilt;
    else if (steerTilt < 1) ++steerTilt;
    if (controls.slideRight) steerTilt = std::min(steerTilt + 2, 15);
    if (controls.slideLeft) steerTilt = std::max(steerTilt - 2, -15);
}
