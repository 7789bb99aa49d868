// Enemies over the real maps and the generated course, driven as the game scene will drive them:
// each released at its spawn gate by its trigger gate, through its route into the chase, its
// units following the lead point's path inside the side band; each joining the main course
// beside the player, its chain then crossing the player's path, and none flying off the map; and
// the same seed flying the same chains again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "chara/unit_seed.hpp"
#include "course_run.hpp"
#include "game_folder.hpp"

using namespace enemy_world;

namespace {

class EnemyFlight : public GameFolderTest {
protected:
    void TearDown() override {
        SetUnitSeed(std::nullopt);
        GameFolderTest::TearDown();
    }
};

// How far a unit strays from the lead point's path: the nearest point of the path (the trail's
// centre poses joined by straight lines, near the unit's own entries), split into the part
// along that pose's right axis and the rest. `band` is how far the side lines of those entries
// stand off the path's own plane (they follow the ground on their own in the chase): the units
// weave between the side lines, so they may leave the plane by up to 0.9 of that.
struct Stray {
    float sideways = 0, rest = 0, band = 0;
};

Stray StrayFromPath(const Enemy& enemy, int unit) {
    const Vec3 p = enemy.units[unit].world.Row(3);
    float best = 1e30f;
    Stray out;
    const int first = std::max(0, unit - 2), last = std::min(Enemy::kTrailLength - 2, unit + 3);
    for (int j = first; j <= last; ++j) {
        const Enemy::TrailEntry& e = enemy.trail[j];
        const Vec3 from = e.centre.Row(3), to = enemy.trail[j + 1].centre.Row(3), along = to - from;
        const float length2 = Vec3Dot(along, along);
        const float t = length2 > 0 ? std::clamp(Vec3Dot(p - from, along) / length2, 0.0f, 1.0f) : 0.0f;
        const Vec3 off = p - (from + along * t);
        const Vec3 up = Vec3Normalize(e.centre.Row(1));
        out.band = std::max({out.band, std::fabs(Vec3Dot(e.left.Row(3) - from, up)), std::fabs(Vec3Dot(e.right.Row(3) - from, up))});
        if (Vec3Length(off) >= best) continue;
        best = Vec3Length(off);
        const Vec3 right = Vec3Normalize(e.centre.Row(0));
        out.sideways = Vec3Dot(off, right);
        out.rest = Vec3Length(off - right * out.sideways);
    }
    return out;
}

constexpr float kTurnSlack = 4.0f;
// What the player notices: an enemy that joins the main course far from it only drifts off
// while it slowly catches up; one that joins beside it brings its chain across its path.
constexpr float kJoinNearPlayer = 150.0f;
constexpr float kMeetDistance = 3.0f;  // a unit this close all but touches the player (2.0)

struct Figures {
    int released = -1, chased = -1, joined = -1, met = -1, offMap = 0;
    size_t joinGate = 0;
    float joinDistance = 0;  // from the player
    float maxSideways = 0, routeRest = 0, chaseRest = 0, band = 0, nearestAfterJoin = 1e30f;
    long unitsMeasured = 0;
};

TEST_F(EnemyFlight, EachEnemyFliesItsRouteIntoTheChaseAndMeetsThePlayer) {
    SetUnitSeed(2024);
    CourseRun run(course, services());
    const size_t enemies = run.characters.size() - 1;
    ASSERT_EQ(enemies, 5u);
    std::vector<Figures> figures(enemies + 1);
    const Model& mapA = *models().Get("data/model/mapA.x");
    int touches = 0;
    while (!run.runOver && run.updates < 20000) {
        touches += run.Update();
        for (size_t k = 1; k <= enemies; ++k) {
            const Enemy& e = run.enemy(k);
            Figures& f = figures[k];
            if (!e.released) continue;
            if (f.released < 0) {
                f.released = run.updates;
                // Released at its own spawn gate, heading for the next gate of its route.
                EXPECT_EQ(course[e.current.index() - 1]->enemyNo, static_cast<int>(k));
                EXPECT_EQ(course[e.current.index() - 1]->kind, checkpoint_kind::kStart);
            }
            if (e.mode == EnemyMode::Chase && f.chased < 0) f.chased = run.updates;
            if (f.joined < 0 && e.current.gate().enemyNo == 0) {
                f.joined = run.updates;
                f.joinGate = e.current.index();
                f.joinDistance = Vec3Length(e.world.Row(3) - run.player().world.Row(3));
            }
            if (run.updates - f.released < Enemy::kTrailLength) continue;  // still streaming in
            // The lead point over no ground has flown off the map.
            if (e.mode == EnemyMode::Chase && !mapA.Intersect(e.world.Row(3), Vec3TransformNormal({0, -1, 0}, e.world)).hit) ++f.offMap;
            for (int u = 0; u < Enemy::kUnitCount; ++u) {
                const EnemyUnit& unit = e.units[u];
                if (!unit.alive || unit.dying) continue;
                const Stray s = StrayFromPath(e, u);
                ASSERT_TRUE(std::isfinite(s.sideways) && std::isfinite(s.rest)) << "enemy " << k << " unit " << u;
                // Inside the band: sideways up to 0.9 of the way to a side line, and off the
                // path's plane no further than the side lines lead it, give or take what the
                // path's turns and tilts between neighbouring entries add (the route turns at once
                // at every gate).
                ASSERT_LE(std::fabs(s.sideways), 0.9f * Enemy::kSideLine + 0.5f) << "enemy " << k << " unit " << u;
                ASSERT_LE(s.rest, 0.9f * s.band + kTurnSlack) << "enemy " << k << " unit " << u;
                f.maxSideways = std::max(f.maxSideways, std::fabs(s.sideways));
                (e.mode == EnemyMode::Route ? f.routeRest : f.chaseRest) = std::max(e.mode == EnemyMode::Route ? f.routeRest : f.chaseRest, s.rest);
                f.band = std::max(f.band, s.band);
                ++f.unitsMeasured;
                if (f.joined < 0) continue;
                const float distance = Vec3Length(unit.world.Row(3) - run.player().world.Row(3));
                f.nearestAfterJoin = std::min(f.nearestAfterJoin, distance);
                if (distance < kMeetDistance && f.met < 0) f.met = run.updates;
            }
        }
    }
    EXPECT_TRUE(run.runOver) << "the player stand-in reached the goal";
    std::printf("goal after %d updates; %d touches of the player\n", run.updates, touches);
    for (size_t k = 1; k <= enemies; ++k) {
        const Figures& f = figures[k];
        std::printf("enemy %zu: released %d, chase from %d (route %d updates; gates passed: %d by its own test, %d by "
                    "the scene's); joined the main course heading for gate %zu at %d, %.0f from the player; nearest to "
                    "the player afterwards %.1f, first within %.0f at %d; %d chase updates off the map; units: sideways "
                    "<= %.2f, off the path's plane <= %.2f (route) %.2f (chase, side lines up to %.2f off it)\n",
                    k, f.released, f.chased, f.chased - f.released, run.ownPasses[k], run.scenePasses[k], f.joinGate,
                    f.joined, f.joinDistance, f.nearestAfterJoin, kMeetDistance, f.met, f.offMap, f.maxSideways,
                    f.routeRest, f.chaseRest, f.band);
        EXPECT_GE(f.released, 0) << "enemy " << k;
        EXPECT_GT(f.chased, f.released) << "enemy " << k;
        EXPECT_GE(f.joined, f.chased) << "enemy " << k;
        EXPECT_GT(f.unitsMeasured, 0) << "enemy " << k;
        EXPECT_GT(f.maxSideways, 6.0f) << "enemy " << k;  // the rear units do sweep across
        EXPECT_LT(f.joinDistance, kJoinNearPlayer) << "enemy " << k;
        EXPECT_LT(f.nearestAfterJoin, kMeetDistance) << "enemy " << k << " never comes at the player";
        EXPECT_EQ(f.offMap, 0) << "enemy " << k << " flies off the map";
    }
    // Released in the order of their trigger gates.
    for (size_t k = 2; k <= enemies; ++k) EXPECT_GT(figures[k].released, figures[k - 1].released);
}

// Every pose of every unit of the first enemy, from its release through its first chase updates.
std::vector<Matrix> FlyFirstEnemy(const CourseList& course, GameServices& services, std::optional<uint64_t> seed) {
    SetUnitSeed(seed);
    CourseRun run(course, services);
    std::vector<Matrix> poses;
    while (run.enemy(1).mode == EnemyMode::Route || run.enemy(1).measureCountdown > 0) {
        run.Update();
        if (run.updates > 5000) break;
        if (!run.enemy(1).released) continue;
        for (const EnemyUnit& u : run.enemy(1).units) poses.push_back(u.world);
    }
    return poses;
}

TEST_F(EnemyFlight, TheSameSeedFliesTheSameChains) {
    const std::vector<Matrix> first = FlyFirstEnemy(course, services(), 77);
    ASSERT_GT(first.size(), 400u * Enemy::kUnitCount);
    EXPECT_TRUE(first == FlyFirstEnemy(course, services(), 77));
    const std::vector<Matrix> other = FlyFirstEnemy(course, services(), 78);
    ASSERT_EQ(other.size(), first.size());  // the lead point's flight does not depend on the seed
    size_t differ = 0;
    for (size_t i = 0; i < first.size(); ++i) differ += !(first[i] == other[i]);
    EXPECT_GT(differ, first.size() * 9 / 10);
}

}  // namespace
