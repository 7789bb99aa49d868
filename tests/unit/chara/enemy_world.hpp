// What the enemy tests fly in: a hand-made world of flat maps and square gate panels where a
// case needs exact distances (the game folder with the real maps and course is GameFolderTest),
// and a stand-in player that only stands where it is put.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "chara/chara_base.hpp"
#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "null_world.hpp"

namespace enemy_world {

namespace fs = std::filesystem;

// A two-sided quad mesh with the corners given in order, one white material.
inline std::string QuadX(const Vec3 (&c)[4]) {
    std::string text = "xof 0303txt 0032\nMesh Quad {\n4;\n";
    for (int i = 0; i < 4; ++i)
        text += std::to_string(c[i].x) + ";" + std::to_string(c[i].y) + ";" + std::to_string(c[i].z) + (i < 3 ? ";,\n" : ";;\n");
    return text + "2;\n3;0,1,2;,\n3;0,2,3;;\nMeshMaterialList {\n1;\n2;\n0,\n0;;\n"
                  "Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n}\n}\n";
}

// Flat ground at y = 0, 40000 units across; a gate panel 20 x 20 in its gate's own x-y plane.
inline const std::string kFlatGround = QuadX({{-20000, 0, -20000}, {-20000, 0, 20000}, {20000, 0, 20000}, {20000, 0, -20000}});
inline const std::string kGatePanel = QuadX({{-10, -10, 0}, {-10, 10, 0}, {10, 10, 0}, {10, -10, 0}});

// A gate at `at` whose own z axis points along the horizontal `forward`.
inline std::unique_ptr<CheckPoint> Gate(int kind, int enemyNo, Vec3 at, Vec3 forward = {0, 0, 1}) {
    auto gate = std::make_unique<CheckPoint>();
    gate->kind = kind;
    gate->enemyNo = enemyNo;
    const Vec3 f = Vec3Normalize({forward.x, 0, forward.z});
    gate->world.SetRow(0, Vec3Cross({0, 1, 0}, f));
    gate->world.SetRow(2, f);
    gate->world.SetRow(3, at);
    return gate;
}

// Stands where the test puts it; only its world and current are read.
class StandInPlayer : public CharaBase {
public:
    explicit StandInPlayer(CoursePosition at) { current = at; }
    bool Update(const UpdateContext&) override { return false; }
    void Draw() override {}
};

// Flat maps and square gate panels in a folder of its own; the unit model and the textures are
// the game's. The shot pool draws from the world's caches.
class HandMadeWorld : public NullWorld {
protected:
    void SetUp() override {
        EnterOwnFolder();
        for (const char* map : {"mapA.x", "mapD.x"}) Write(std::string("data/model/") + map, kFlatGround);
        for (const char* gate : {"CheckPoint.x", "CheckPoint2.x"}) Write(std::string("data/model/") + gate, kGatePanel);
        const fs::path game = KORVELIN_GAME_DIR;
        fs::create_symlink(game / "data/model/enemy.x", ownFolder / "data/model/enemy.x");
        fs::create_directory_symlink(game / "data/texture", ownFolder / "data/texture");
        bullets.emplace(assets(), kept().fireCooldown);
    }

    std::optional<BulletPool> bullets;
};

}  // namespace enemy_world
