// What a headless run writes of the game scene each frame, and its result at the end.
#include "chara/enemy.hpp"
#include "chara/player.hpp"
#include "platform/trace/trace_writer.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_game.hpp"

using platform::TraceWriter;

void SceneGame::WriteTrace(TraceWriter& trace) const {
    if (demo_) trace.Bool("demo", true);
    if (!courseError_.empty()) {
        trace.String("courseError", courseError_);
        return;
    }
    const CharaBase& body = player();
    trace.BeginObject("player");
    trace.Vec("pos", body.world.Row(3));
    trace.Vec("fwd", body.world.Row(2));
    trace.Int("current", int64_t(body.current.index()));
    const auto* craft = dynamic_cast<const Player*>(&body);
    trace.Float("bank", craft ? craft->bank : 0.0f);
    trace.EndObject();
    trace.BeginObject("camera");
    trace.Vec("pos", camera->world.Row(3));
    trace.Vec("target", camera->target);
    trace.Float("fov", camera->fov);
    trace.Float("pitch", camera->pitch);
    trace.Float("yaw", camera->yaw);
    trace.EndObject();
    trace.Int("score", run_.score);
    trace.Int("shownScore", hud_.shownScore);
    trace.Int("hitsLeft", run_.hitsLeft);
    trace.Int("lives", run_.lives);
    trace.Bool("runOver", run_.ended);
    trace.Int("endFrames", run_.endFrames);
    trace.Bool("introActive", run_.phase == RunPhase::Opening);
    trace.Int("fadeAlpha", run_.fadeAlpha);
    trace.Bool("damageActive", run_.flash.active);
    trace.Int("damageAlpha", run_.flash.alpha);
    trace.Int("enemiesReleased", run_.enemiesReleased);
    trace.Int("steerTilt", hud_.steerTilt);
    trace.Int("shownResult", hud_.shownResult);
    if (!hud_.notSaved().empty()) trace.String("notSaved", hud_.notSaved());
    int active = 0, exploding = 0;
    for (const Shot& s : bullets->shots) {
        active += s.active;
        exploding += s.active && s.exploding;
    }
    trace.BeginObject("shots");
    trace.Int("active", active);
    trace.Int("exploding", exploding);
    trace.EndObject();
    trace.BeginArray("enemies");
    for (size_t i = 1; i < characters.size(); ++i) {
        const auto* enemy = dynamic_cast<const Enemy*>(characters[i].get());
        if (!enemy) continue;
        int alive = 0, dying = 0;
        for (const EnemyUnit& u : enemy->units) {
            alive += u.alive;
            dying += u.alive && u.dying;
        }
        trace.BeginObject();
        trace.Bool("released", enemy->released);
        trace.Int("mode", static_cast<int>(enemy->mode));
        trace.Int("current", int64_t(enemy->current.index()));
        trace.Int("alive", alive);
        trace.Int("dying", dying);
        trace.Float("speed", enemy->speed);
        trace.Float("sideSpeed", enemy->sideSpeed);
        trace.Float("heat", enemy->heat);
        trace.EndObject();
    }
    trace.EndArray();
    const DebugUi& overlay = services_.overlay();
    if (overlay.enabled) {
        trace.BeginObject("editor");
        trace.Int("records", int64_t(overlay.checkpoints.size()));
        trace.Int("selected", overlay.selectedIndex);
        trace.Bool("walkMode", overlay.walkMode);
        trace.Int("kind", overlay.currentKind);
        trace.Bool("unsaved", overlay.unsaved);
        trace.String("file", overlay.courseFile);
        trace.String("dialog", overlay.DialogShown());
        trace.EndObject();
    }
}

RunSummary SceneGame::Summary() const {
    if (!courseError_.empty()) return {};
    return {run_.score, run_.ended, run_.ended && !run_.Destroyed(), 2 - run_.hitsLeft,
            int64_t(player().current.index())};
}
