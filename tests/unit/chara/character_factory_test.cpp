// The factory makes exactly the two kinds it knows, by their exact names, at the course's start.
#include "chara/character_factory.hpp"

#include <gtest/gtest.h>

#include "chara/enemy.hpp"
#include "chara/player.hpp"
#include "enemy_world.hpp"
#include "graphics/asset_caches.hpp"

namespace {

TEST(CharacterFactory, MakesOnlyThePlayerAndTheEnemyByTheirExactNames) {
    CourseList course;
    course.push_back(enemy_world::Gate(0, 0, {10, 7, 0}));
    course.push_back(enemy_world::Gate(1, 0, {10, 7, 500}));
    const CoursePosition start(course, 0);
    AssetCaches assets;  // handed on, never read here
    struct Case {
        const char* name;
        bool player, enemy;
    };
    for (const Case c : {Case{"player", true, false}, Case{"enemy", false, true}, Case{"Player", false, false},
                         Case{"enemy ", false, false}, Case{"", false, false}, Case{"ENEMY", false, false},
                         Case{" player", false, false}, Case{"enemyenemy", false, false}}) {
        const std::unique_ptr<CharaBase> made = CharacterFactory(c.name, start, assets);
        EXPECT_EQ(dynamic_cast<Player*>(made.get()) != nullptr, c.player) << '"' << c.name << '"';
        EXPECT_EQ(dynamic_cast<Enemy*>(made.get()) != nullptr, c.enemy) << '"' << c.name << '"';
        if (!made) continue;
        EXPECT_EQ(made->current.index(), 1u) << c.name;  // heading for the second gate
    }
}

}  // namespace
