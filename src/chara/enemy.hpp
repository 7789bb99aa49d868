// An enemy: an invisible lead point with a chain of 40 units behind it. The lead point flies its
// own route facing each gate squarely, then chases along the main course, pacing itself against
// the player and sweeping across its path. Each update it records its pose, and the units follow
// that record, weaving between two side lines 8 units to either side. A unit within 2 units of
// the player strikes it; a blast of the player's shots destroys units for 100 points each.
#pragma once

#include <array>

#include "chara/chara_base.hpp"
#include "chara/enemy_unit.hpp"
#include "platform/types/render_types.hpp"

struct AssetCaches;

// Where the lead point flies: its own route, facing each gate squarely, or the chase along the
// main course from its route's end.
enum class EnemyMode : uint8_t { Route, Chase };

class Enemy : public CharaBase {
public:
    static constexpr int kUnitCount = 40;
    static constexpr int kTrailLength = kUnitCount + 2;  // unit i sits between entries i and i + 2
    static constexpr float kSideLine = 8.0f;             // the side lines, units either side of the path
    static constexpr float kRouteSpeed = 2.0f;           // forward move per update on the route
    // The chase begins at the speed the route was flown at, so the chain's spacing does not jump
    // when it starts; the pace then moves it by 0.05 per update.
    static constexpr float kChaseStartSpeed = kRouteSpeed;
    static constexpr float kMinSpeed = 1.0f, kMaxSpeed = 2.5f;
    static constexpr float kTouchDistance = 2.0f;
    static constexpr int kUnitScore = 100;

    // One recorded pose of the lead point: the path and both side lines.
    struct TrailEntry {
        Matrix centre, left, right;
    };

    // Waits, unreleased, at the gate at `start`, heading for the one after it. Its models and
    // picture are read through `assets`, which must outlive it.
    Enemy(CoursePosition start, AssetCaches& assets);

    // True when a unit touched the player in this update. Adds 100 to the score (when given)
    // for every unit destroyed. The lives and the controls are not used.
    bool Update(const UpdateContext& context) override;
    void Draw() override;
    void OnCheckpointPassed() override { turn = 0.0f; }
    void EnterChase() override { mode = EnemyMode::Chase; }
    // The lead point takes the whole placement of the gate at `current`, which moves on by one.
    // The trail keeps its old poses, so the rear units stream in from there.
    void Activate() override;

    std::array<TrailEntry, kTrailLength> trail;  // newest first
    std::array<EnemyUnit, kUnitCount> units;
    bool released = false;
    float turn = 1.0f;          // blend factor of the turn towards the gate (chase only)
    int measureCountdown = 30;  // updates until the next distance measurement (chase only)
    float lastDistance = 0.0f;  // to the player, at the last measurement
    float sideAccel = 0.08f;    // change of sideSpeed per update; flips when the player draws away
    float paceStep = 0.05f;     // change of speed per update
    float sideSpeed = 1.0f;     // sideways move per update, -1 ... 1
    float speed = kChaseStartSpeed;  // forward move per update in the chase, 1.0 ... 2.5
    EnemyMode mode = EnemyMode::Route;
    float heat = 0.75f;         // green of the units' outline: orange falling to red
    std::array<platform::HudVertex, 4> spriteQuad{};  // reused for every explosion sprite

private:
    void FlyRoute(const Matrix& mapWorld);
    void FlyChase(const Matrix& mapWorld, const CharaBase& player);
    // Follows the trail, touches the player and meets the shots; true on a touch.
    bool UpdateUnit(int index, BulletPool& bullets, const CharaBase& player, int* score, Vec3 cameraPosition);
    void UpdateDying(EnemyUnit& unit, Vec3 cameraPosition);
    void DrawSprite(const EnemyUnit& unit);

    AssetCaches& assets_;
};
