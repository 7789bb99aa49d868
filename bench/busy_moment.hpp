// The busiest moment of a run, for the benchmarks: the real game scene on the generated course,
// played from its start with a fixed unit seed until every enemy chases the player with its
// whole chain alive, and then the shot pool filled with flying shots ahead of the gun. The
// moment is kept so that it can be put back after each measured frame.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chara/camera.hpp"
#include "chara/enemy.hpp"
#include "chara/player.hpp"
#include "course/bullet_pool.hpp"
#include "course/weapon.hpp"
#include "platform/input/input.hpp"
#include "scene/game_services.hpp"
#include "scene/run_state.hpp"

class SceneGame;
class SceneManager;

class BusyMoment {
public:
    static constexpr uint64_t kSeed = 1;
    static constexpr int kMaxFrames = 20000;

    // Puts a new game scene into the initialised manager (working directory: the game folder)
    // and plays it with no input but the left button, which is held only once the moment is
    // reached. Updates only: the maps are never drawn on the way. False with the reason when
    // the run never reaches the moment.
    bool Make(SceneManager& manager, std::string* why);
    // Everything an update or a draw changes, back as it was at the moment: the characters, the
    // gun, the shots and the camera are copies of the moment's (they cannot be assigned).
    void Restore();

    SceneGame& scene() const { return *scene_; }
    int framesPlayed = 0;
    platform::ScriptedInput input;  // installed by Make; the left button stays held

private:
    void Keep();

    SceneGame* scene_ = nullptr;
    KeptValues* kept_ = nullptr;  // the manager's
    // Copies of the moment.
    std::unique_ptr<Player> player_;
    std::vector<Enemy> enemies_;
    std::unique_ptr<BulletPool> bullets_;
    std::unique_ptr<Weapon> weapon_;
    std::unique_ptr<Camera> camera_;
    RunState run_;
    struct HudCounters {
        int steerTilt, shownScore, shownResult;
    } hud_{};
    KeptValues keptAt_;
};

// The live units of all enemies and the active shots, for the benchmarks' counters.
int LiveUnits(const SceneGame& scene);
int ActiveShots(const SceneGame& scene);
