// Playing the game scene to its busiest moment and putting that moment back.
#include "busy_moment.hpp"

#include "app/scene_manager.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_game.hpp"

namespace {

// Every enemy chases with its whole chain, and the run still goes on.
bool AllChasing(const SceneGame& scene) {
    if (scene.characters.size() < 2 || scene.run().ended) return false;
    for (size_t i = 1; i < scene.characters.size(); ++i) {
        const auto* enemy = dynamic_cast<const Enemy*>(scene.characters[i].get());
        if (!enemy || !enemy->released || enemy->mode != EnemyMode::Chase) return false;
        for (const EnemyUnit& unit : enemy->units)
            if (!unit.alive || unit.dying) return false;
    }
    return true;
}

}  // namespace

bool BusyMoment::Make(SceneManager& manager, std::string* why) {
    platform::SetInput(&input);
    CurrentGameOptions() = GameOptions{};
    CurrentGameOptions().seed = kSeed;
    manager.scene = std::make_unique<SceneGame>(manager.services());
    scene_ = static_cast<SceneGame*>(manager.scene.get());
    kept_ = &manager.services().kept();
    if (!scene_->courseError().empty()) {
        *why = scene_->courseError();
        return false;
    }
    while (!AllChasing(*scene_)) {
        manager.Update();
        ++framesPlayed;
        if (manager.scene.get() != scene_) {
            scene_ = nullptr;
            *why = "the run ended after " + std::to_string(framesPlayed) + " frames before every enemy chased";
            return false;
        }
        // Chains that touch the player would end the run before the last enemy chases: on the
        // way to the moment every hit is forgiven (the player never stops, no flash runs).
        scene_->run().hitsLeft = 2;
        scene_->run().lives = 3;
        scene_->run().flash = HitFlash{};
        if (framesPlayed > kMaxFrames) {
            *why = "no moment with every enemy chasing in " + std::to_string(kMaxFrames) + " frames";
            return false;
        }
    }
    // Twenty shots in flight ahead of the gun, one step apart, from alternating muzzles, and the
    // button held: the pool is full, so a press fires nothing but restarts the wait.
    for (int k = 0; k < BulletPool::kShotCount; ++k) {
        Shot& shot = scene_->bullets->shots[k];
        const float side = k % 2 == 0 ? 0.5f : -0.5f;
        shot = Shot{};
        shot.world = MatrixTranslation(side, 0.0f, 2.5f + 15.0f * float(k)) * scene_->weapon->world;
        shot.active = true;
        shot.age = k;
    }
    input.SetKey(platform::Key::LeftButton, true);
    // One whole frame loads what only drawing asks for (pictures, gate models) before anything
    // is measured, as the game's first frames do.
    Keep();
    manager.Update();
    manager.Draw();
    Restore();
    return true;
}

void BusyMoment::Keep() {
    SceneGame& s = *scene_;
    player_ = std::make_unique<Player>(static_cast<const Player&>(*s.characters[0]));
    enemies_.clear();
    for (size_t i = 1; i < s.characters.size(); ++i) enemies_.push_back(static_cast<const Enemy&>(*s.characters[i]));
    bullets_ = std::make_unique<BulletPool>(*s.bullets);
    weapon_ = std::make_unique<Weapon>(*s.weapon);
    camera_ = std::make_unique<Camera>(*s.camera);
    run_ = s.run();
    hud_ = {s.hud().steerTilt, s.hud().shownScore, s.hud().shownResult};
    keptAt_ = *kept_;
}

void BusyMoment::Restore() {
    SceneGame& s = *scene_;
    s.characters[0] = std::make_unique<Player>(*player_);
    for (size_t i = 1; i < s.characters.size(); ++i) s.characters[i] = std::make_unique<Enemy>(enemies_[i - 1]);
    s.bullets = std::make_unique<BulletPool>(*bullets_);
    s.weapon = std::make_unique<Weapon>(*weapon_);
    s.camera = std::make_unique<Camera>(*camera_);
    s.run() = run_;
    s.hud().steerTilt = hud_.steerTilt;
    s.hud().shownScore = hud_.shownScore;
    s.hud().shownResult = hud_.shownResult;
    *kept_ = keptAt_;
    s.camera->SetView();
}

int LiveUnits(const SceneGame& scene) {
    int n = 0;
    for (size_t i = 1; i < scene.characters.size(); ++i)
        if (const auto* enemy = dynamic_cast<const Enemy*>(scene.characters[i].get()))
            for (const EnemyUnit& unit : enemy->units) n += unit.alive && !unit.dying;
    return n;
}

int ActiveShots(const SceneGame& scene) {
    int n = 0;
    for (const Shot& shot : scene.bullets->shots) n += shot.active && !shot.exploding;
    return n;
}
