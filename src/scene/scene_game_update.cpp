// The game scene's update: gates passed, enemies released, hits counted, and the opening, play
// and run-over branches of the run.
#include <algorithm>
#include <cstdio>

#include "editor/debug_ui.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/input.hpp"
#include "scene/scene_game.hpp"
#include "sound/sound_manager.hpp"

using namespace platform;

namespace {
constexpr const char* kMusic = "data/sound/bgm.wav";
constexpr const char* kGateMesh = "data/model/CheckPoint.x";
}  // namespace

bool SceneGame::RayMeetsGate(const Matrix& body, const CheckPoint& gate, float limit) {
    const Matrix inverse = MatrixInverse(gate.world);
    const Vec3 origin = Vec3TransformCoord(body.Row(3), inverse);
    const Vec3 direction = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, body), inverse);
    const RayHit hit = gModelCache->Get(kGateMesh)->Intersect(origin, direction);
    return hit.hit && hit.distance < limit;
}

SceneId SceneGame::Update() {
    if (!courseError_.empty()) {
        // Said once; the title takes over in this frame.
        std::fprintf(stderr, "korvelin: %s\n", courseError_.c_str());
        ShowMessage(GraphicsDevice::Instance().window, courseError_, "-KORVELIN-", DialogIcon::Error);
        return kSceneTitle;
    }
    gSoundManager->PlayBgm(kMusic);
    // A tap between two frames asks as well as a held key, so a slow frame cannot miss it.
    if (GetInput().AsyncKeyState(Key::Escape) != 0 && Leave()) return kSceneTitle;

    for (size_t i = 0; i < characters.size(); ++i) {
        CharaBase& body = *characters[i];
        if (RayMeetsGate(body.world, body.current.gate(), kPassDistance)) PassGate(i);
        if (body.Update(mapWorld, *bullets, player(), &score, lives) != 0 && !damageActive && !runOver) TakeHit();
        if (damageActive) RunFlashStep();
        gDebugUi->DebugText("ID%d", player().current.gate().kind);
    }

    skyWorld = skyBase * MatrixScaling(5, 5, 5);
    skyWorld.SetRow(3, player().world.Row(3));

    if (introActive) {
        AimGun(camera->target);
        fadeAlpha -= 3;
        if (fadeAlpha < 0) {
            introActive = 0;
            fadeAlpha = 0;
        }
        camera->fov = introFov;
        introFov = std::max(80.0f, introFov - 2.0f);
        camera->Update(player().world, skyWorld);
    } else if (runOver) {
        AimGun(Vec3TransformCoord({0, 1.5f, 1}, player().world));
        bullets->Update(weapon->world, mapWorld, runOver);
        camera->UpdateEnd(player().world, endFrames, hitsLeft);
        ++endFrames;
        if (endFrames > kFadeStartFrame) fadeAlpha = std::min(255, fadeAlpha + 3);
        if (endFrames > kLeaveFrame) return kSceneTitle;
    } else {
        AimGun(camera->target);
        if (gDebugUi->enabled)
            gDebugUi->FreeLook(*camera);
        else
            mouse->Update(*camera);
        bullets->Update(weapon->world, mapWorld, runOver);
        camera->Update(player().world, skyWorld);
    }
    AimGun(camera->target);

    if (shownScore < score) shownScore = std::min(shownScore + 21, score);
    SteerTilt();
    gDebugUi->ShowState(player().world);
    return sceneId;
}

// The gun follows the player and points at `point`; the overlay shows the axis it banks about.
void SceneGame::AimGun(Vec3 point) {
    weapon->Aim(player().world, point);
    const Vec3 axis = weapon->rotAxis;
    gDebugUi->DebugText("RotAxis.x:%f\nRotAxis.y:%f\nRotAxis.z:%f\n", axis.x, axis.y, axis.z);
}

// Escape asks whether to go back to the title; No is the default and the run goes on.
bool SceneGame::Leave() {
    Input& input = GetInput();
    input.ShowCursor(true);
    const bool yes = AskYesNo(GraphicsDevice::Instance().window, "タイトルに戻りますか？", "確認", false);
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

// The HUD leans with the steering keys and rests at 1.
void SceneGame::SteerTilt() {
    if (steerTilt > 1) --steerTilt;
    else if (steerTilt < 1) ++steerTilt;
    Input& input = GetInput();
    if (input.KeyDown(Key::D)) steerTilt = std::min(steerTilt + 2, 15);
    if (input.KeyDown(Key::A)) steerTilt = std::max(steerTilt - 2, -15);
}
