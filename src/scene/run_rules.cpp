// The run's rules.
#include "scene/run_rules.hpp"

#include <algorithm>

#include "graphics/model.hpp"
#include "graphics/model_cache.hpp"

namespace {
constexpr const char* kGateMesh = "data/model/CheckPoint.x";
}  // namespace

bool RunRules::RayMeetsGate(const Matrix& body, const CheckPoint& gate, float limit) const {
    const Matrix inverse = MatrixInverse(gate.world);
    const Vec3 origin = Vec3TransformCoord(body.Row(3), inverse);
    const Vec3 direction = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, body), inverse);
    const platform::RayHit hit = models_.Get(kGateMesh)->Intersect(origin, direction);
    return hit.hit && hit.distance < limit;
}

void RunRules::PassGateIfReached(size_t index) {
    CharaBase& body = *characters_[index];
    if (RayMeetsGate(body.world, body.current.gate(), kPassDistance)) PassGate(index);
}

void RunRules::PassGate(size_t index) {
    CharaBase& body = *characters_[index];
    const CheckPoint& playerGate = player().current.gate();
    if (playerGate.kind == checkpoint_kind::kTrigger && !(player().current == run_.lastTrigger)) ReleaseNextEnemy();

    if (body.current.gate().kind == checkpoint_kind::kEnd) {
        if (index == 0) {
            if (RayMeetsGate(body.world, body.current.gate(), kPassDistance)) run_.End();
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
void RunRules::ReleaseNextEnemy() {
    run_.enemiesReleased = std::min(run_.enemiesReleased + 1, static_cast<int>(course_.size()) - 1);
    for (size_t i = 0; i < course_.size(); ++i) {
        if (course_[i]->enemyNo != run_.enemiesReleased) continue;
        if (static_cast<size_t>(run_.enemiesReleased) < characters_.size()) {
            CharaBase& enemy = *characters_[run_.enemiesReleased];
            enemy.current.MoveTo(i);
            enemy.Activate();
        }
        break;
    }
    run_.lastTrigger = player().current;
}

// At its route's end an enemy joins the main course at the first main gate its ray meets.
void RunRules::JoinMainCourse(CharaBase& enemy) {
    for (size_t i = 0; i < course_.size(); ++i) {
        if (course_[i]->enemyNo == 0 && RayMeetsGate(enemy.world, *course_[i], kJoinDistance)) {
            enemy.current.MoveTo(i);
            return;
        }
    }
}

void RunRules::Strike() {
    if (run_.flash.active || run_.ended) return;
    --run_.hitsLeft;
    run_.flash.active = true;
    run_.flash.timer = HitFlash::kLength;
    if (run_.Destroyed()) run_.End();
}

void RunRules::FlashStep() {
    HitFlash& flash = run_.flash;
    if (!flash.active) return;
    flash.alpha = std::min(flash.timer, 255);
    flash.timer -= 2;
    if (flash.timer < 0) {
        run_.lives = std::max(0, run_.lives - 1);
        flash.timer = 0;
        flash.alpha = 0;
        flash.active = false;
    }
}
