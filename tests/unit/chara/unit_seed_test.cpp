// The units' seeds: the same game seed makes the same chains, game after game in one process;
// another seed, or none, makes others.
#include "chara/unit_seed.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "chara/enemy.hpp"
#include "enemy_world.hpp"
#include "graphics/asset_caches.hpp"

namespace {

struct Draws {
    int phase;
    float lag, spinRate;
    bool operator==(const Draws&) const = default;
};

std::vector<Draws> Chain(const CourseList& course) {
    AssetCaches unused;  // the units draw their values before anything is drawn
    const Enemy enemy{CoursePosition(course, 0), unused};
    std::vector<Draws> out;
    for (const EnemyUnit& u : enemy.units) out.push_back({u.phase, u.lag, u.spinRate});
    return out;
}

class UnitSeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        course.push_back(enemy_world::Gate(0, 0, {0, 7, 0}));
        course.push_back(enemy_world::Gate(1, 0, {0, 7, 500}));
    }
    void TearDown() override { SetUnitSeed(std::nullopt); }
    CourseList course;
};

TEST_F(UnitSeedTest, TheSameSeedMakesTheSameChainsInEveryGame) {
    SetUnitSeed(42);
    const std::vector<Draws> first = Chain(course), second = Chain(course);
    EXPECT_NE(first, second);  // each unit, each enemy its own generator
    SetUnitSeed(42);  // the next game
    EXPECT_EQ(Chain(course), first);
    EXPECT_EQ(Chain(course), second);
    SetUnitSeed(43);
    EXPECT_NE(Chain(course), first);
}

TEST_F(UnitSeedTest, UnitsDrawTheirValuesInTheirRanges) {
    for (std::optional<uint64_t> seed : {std::optional<uint64_t>(7), std::optional<uint64_t>()}) {
        SetUnitSeed(seed);
        int low = 120, high = -1;
        for (int e = 0; e < 20; ++e)
            for (const Draws& d : Chain(course)) {
                low = std::min(low, d.phase);
                high = std::max(high, d.phase);
                EXPECT_GE(d.lag, 0.0f);
                EXPECT_LT(d.lag, 1.0f);
                EXPECT_GE(d.spinRate, -30.0f);
                EXPECT_LT(d.spinRate, 30.0f);
            }
        if (!seed) continue;
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 119);  // with this seed both ends of 0 ... 119 come up in 800 draws
    }
}

TEST_F(UnitSeedTest, WithoutASeedEveryGameDiffers) {
    SetUnitSeed(std::nullopt);
    EXPECT_NE(Chain(course), Chain(course));
}

}  // namespace
