// A small world for the gun and its shots: the null world in a folder of its own with a flash
// picture and hand-made models, and a shot pool drawing from it.
#pragma once

#include <stb_image_write.h>

#include <optional>
#include <vector>

#include "../mesh/x_file_test_files.hpp"
#include "course/bullet_pool.hpp"
#include "course/weapon.hpp"
#include "null_world.hpp"

// One triangle facing -z, so a bullet's draw (3 indices) tells itself from a square's (6).
inline const char* kTriangleX = R"(xof 0303txt 0032
Mesh Tri {
 3;
 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;;
 1;
 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";

class CombatTest : public NullWorld {
protected:
    // mapA is a 2 x 2 square across the z axis, mapB one across the line x = 10, both in the
    // plane z = 0 of the map's own frame.
    static constexpr float kMapBCentre = 10.0f;

    void SetUp() override {
        EnterOwnFolder();
        Write("data/model/mapA.x", SquareX(0.0f));
        Write("data/model/mapB.x", SquareX(0.0f, kMapBCentre));
        Write("data/model/explosion.x", SquareX(0.0f));
        Write("data/model/weapon.x", SquareX(0.0f));
        Write("data/model/bullet.x", kTriangleX);
        const std::vector<uint8_t> green(16 * 8 * 4, 128);
        stbi_write_png(OwnFile("data/texture/green.png").c_str(), 16, 8, 4, green.data(), 16 * 4);
        FreshPool();
    }
    // An empty pool, as a new run makes it; the wait for the next shot is the process's.
    void FreshPool() { pool.emplace(assets(), kept().fireCooldown); }

    std::optional<BulletPool> pool;
};
