// The shot pool: the firing rhythm and muzzles, a full pool, blocked firing, lifetimes and
// explosions, the reach of the two map tests, and what Draw draws with which states.
#include "course/bullet_pool.hpp"

#include <algorithm>

#include "combat_fixture.hpp"

using namespace platform;

namespace {

// The gun turned to fly its shots along +x, off the origin.
const Matrix kGun = MatrixRotationY(90 * kDegToRad) * MatrixTranslation(5, 2, 0);
// Both map squares far behind every shot of these tests.
const Matrix kMapAway = MatrixTranslation(0, 0, -1000);

class BulletPoolTest : public CombatTest {
protected:
    int Active() {
        return int(std::count_if(pool->shots.begin(), pool->shots.end(), [](const Shot& s) { return s.active != 0; }));
    }
    // A flying shot at (x, y, z) heading +z.
    void Launch(Shot& s, Vec3 at) {
        s.active = true;
        s.world = MatrixTranslation(at.x, at.y, at.z);
    }
    // Updates until the shot ends; the number of updates it was still active going in.
    int UpdatesUntilInactive(const Shot& s, const Matrix& mapWorld) {
        int updates = 0;
        while (s.active && updates < 1000) {
            pool->Update(kGun, mapWorld, fire, 0);
            ++updates;
        }
        return updates;
    }
    std::vector<NullDraw> Draws(NullDraw::Kind kind) {
        std::vector<NullDraw> out;
        for (const NullDraw& d : device().draws())
            if (d.kind == kind) out.push_back(d);
        return out;
    }
    void DrawFrame() {
        device().ClearDraws();
        device().BeginScene();
        pool->Draw();
        device().EndScene();
    }

    bool fire = false;  // the fire control of every update
};

TEST_F(BulletPoolTest, HoldingTheButtonFiresEvery11UpdatesFromAlternatingMuzzlesStartingRight) {
    fire = true;
    std::vector<int> firedAt;
    std::vector<float> muzzles;
    for (int update = 1; update <= 60; ++update) {
        const int before = Active();
        pool->Update(kGun, kMapAway, fire, 0);
        if (Active() == before) continue;
        firedAt.push_back(update);
        // The new shot is the first free one, already one step out: 2.5 + 15 ahead, on its muzzle.
        const Shot& shot = pool->shots[firedAt.size() - 1];
        const Vec3 local = Vec3TransformCoord(shot.world.Row(3), MatrixInverse(kGun));
        EXPECT_NEAR(local.z, 17.5f, 1e-4f);
        muzzles.push_back(local.x);
        // Its flash has already dropped one frame.
        EXPECT_EQ(local.x > 0 ? pool->flashRight : pool->flashLeft, 7) << "update " << update;
    }
    EXPECT_EQ(firedAt, (std::vector<int>{12, 23, 34, 45, 56}));
    ASSERT_EQ(muzzles.size(), 5u);
    for (size_t i = 0; i < muzzles.size(); ++i) EXPECT_NEAR(muzzles[i], i % 2 == 0 ? 0.5f : -0.5f, 1e-4f) << i;
}

TEST_F(BulletPoolTest, AFullPoolFiresNothingButStillRestartsTheWait) {
    for (Shot& s : pool->shots) Launch(s, {0, 100, 0});
    kept().fireCooldown = 20;
    fire = true;
    pool->Update(kGun, kMapAway, fire, 0);
    for (const Shot& s : pool->shots) EXPECT_EQ(s.world.Row(3), (Vec3{0, 100, 15}));  // none fired anew
    EXPECT_EQ(pool->side, 1);
    EXPECT_EQ(pool->flashRight, 0);
    EXPECT_EQ(kept().fireCooldown, 1);

    // A shot frees up, yet the next one leaves only on the 11th update after the refused press.
    pool->shots[5].active = false;
    for (int update = 2; update <= 11; ++update) pool->Update(kGun, kMapAway, fire, 0);
    EXPECT_FALSE(pool->shots[5].active);
    pool->Update(kGun, kMapAway, fire, 0);
    EXPECT_TRUE(pool->shots[5].active);
    EXPECT_EQ(pool->side, -1);
}

TEST_F(BulletPoolTest, BlockedFiringLetsShotsInFlightFlyOnAndExplode) {
    kept().fireCooldown = 20;
    fire = true;
    Launch(pool->shots[0], {0, 0, 0});
    const Matrix wall = MatrixTranslation(0, 0, 50);  // mapA's square 50 ahead
    const float expectedZ[] = {15, 30, 45, 45, 45};
    const int expectedExploding[] = {0, 0, 1, 1, 1};
    for (int i = 0; i < 5; ++i) {
        pool->Update(kGun, wall, fire, 1);
        EXPECT_EQ(Active(), 1) << "update " << i + 1;
        EXPECT_EQ(pool->shots[0].world.Row(3).z, expectedZ[i]) << "update " << i + 1;
        EXPECT_EQ(pool->shots[0].exploding, expectedExploding[i]) << "update " << i + 1;
    }
    EXPECT_NEAR(pool->shots[0].size, 0.5f + 2 * 0.2f, 1e-5f);
    EXPECT_EQ(pool->side, 1);
    EXPECT_EQ(pool->flashRight, 0);
    EXPECT_EQ(kept().fireCooldown, 20);
}

TEST_F(BulletPoolTest, ShotsEndAfterTheirLifetime) {
    struct Case {
        const char* name;
        bool exploding;
        Matrix mapWorld;
        int updates;  // updates the shot takes part in, the last one ending it
    } cases[] = {
        {"a shot that hits nothing", false, kMapAway, 101},
        {"an explosion from its start size", true, kMapAway, 48},
        {"a shot hitting mapA in its first update", false, MatrixTranslation(0, 0, 20), 1 + 48},
    };
    for (const Case& c : cases) {
        FreshPool();
        Launch(pool->shots[0], {0, 0, 0});
        pool->shots[0].exploding = c.exploding;
        EXPECT_EQ(UpdatesUntilInactive(pool->shots[0], c.mapWorld), c.updates) << c.name;
        EXPECT_FALSE(pool->shots[0].exploding) << c.name;
    }
}

TEST_F(BulletPoolTest, AnExplosionGrowsThenFadesPastSize8) {
    pool->shots[0].active = true;
    pool->shots[0].exploding = true;
    for (int update = 1; update <= 47; ++update) {
        pool->Update(kGun, kMapAway, fire, 0);
        EXPECT_NEAR(pool->shots[0].size, 0.5f + 0.2f * float(update), 1e-4f) << update;
        // Size passes 8 in update 38; from there 25 less opacity per update.
        EXPECT_EQ(pool->shots[0].alpha, update < 38 ? 255 : 255 - 25 * (update - 37)) << update;
    }
    EXPECT_EQ(pool->shots[0].alpha, 5);
    pool->Update(kGun, kMapAway, fire, 0);
    EXPECT_FALSE(pool->shots[0].active);
    EXPECT_EQ(pool->shots[0].alpha, 0);
}

// The map square stands `distance` ahead of the shot after its step; the map's frame is turned
// half round and moved, so the ray must be carried into it.
TEST_F(BulletPoolTest, MapsSetAShotOffOnlyWithinTheirReach) {
    struct Case {
        const char* name;
        float shotX;  // 0 meets mapA's square, -10 mapB's (turned half round)
        float distance;
        int explodes;
    } cases[] = {
        {"mapA at 14.85", 0, 14.85f, 1}, {"mapA at 14.95", 0, 14.95f, 0}, {"mapA at 1", 0, 1, 1},
        {"mapB at 7.7", -kMapBCentre, 7.7f, 1}, {"mapB at 7.9", -kMapBCentre, 7.9f, 0},
        {"mapB at 14.85", -kMapBCentre, 14.85f, 0},
    };
    for (const Case& c : cases) {
        FreshPool();
        Launch(pool->shots[0], {c.shotX, 0, 0});
        const Matrix mapWorld = MatrixRotationY(180 * kDegToRad) * MatrixTranslation(0, 0, 15 + c.distance);
        pool->Update(kGun, mapWorld, fire, 0);
        EXPECT_EQ(pool->shots[0].exploding, c.explodes) << c.name;
        EXPECT_EQ(pool->shots[0].age, 1) << c.name;
    }
}

TEST_F(BulletPoolTest, DrawsBulletsAndExplosionsAtTheirWorld) {
    const Matrix at = MatrixRotationX(0.3f) * MatrixTranslation(4, 5, 6);
    const struct {
        const char* name;
        bool exploding;
        uint32_t indexCount;  // the bullet is a triangle, the explosion a square
        Matrix mW;
    } cases[] = {
        {"flying", false, 3, at},
        {"exploding", true, 6, MatrixScaling(2, 2, 2) * at},
    };
    for (const auto& c : cases) {
        FreshPool();
        pool->shots[7] = Shot{at, true, c.exploding, 3, 128, 2.0f};
        DrawFrame();
        const std::vector<NullDraw> meshes = Draws(NullDraw::Kind::Mesh);
        ASSERT_EQ(meshes.size(), 1u) << c.name;
        EXPECT_EQ(meshes[0].indexCount, c.indexCount) << c.name;
        const std::vector<float>* mW = GameEffects::Instance().modelShader.effect.GetValue("mW");
        ASSERT_NE(mW, nullptr);
        EXPECT_EQ(*mW, std::vector<float>(c.mW.Data(), c.mW.Data() + 16)) << c.name;
        EXPECT_TRUE(Draws(NullDraw::Kind::Hud).empty()) << c.name;
    }
}

// Right muzzle, then left 11 updates later: each flash plays frames 7 down to 1 of the strip,
// additively and without depth writes, and the states come back afterwards.
TEST_F(BulletPoolTest, MuzzleFlashesPlayTheirStripWithAdditiveStatesRestored) {
    const TextureId green = textures().Get("data/texture/green.png")->texture;
    ASSERT_NE(green, 0u);
    kept().fireCooldown = 20;
    fire = true;
    std::vector<std::pair<float, int>> shown;  // (muzzle side, frame) per drawn flash
    for (int update = 1; update <= 22; ++update) {
        pool->Update(kGun, kMapAway, fire, 0);
        DrawFrame();
        for (const NullDraw& d : Draws(NullDraw::Kind::Hud)) {
            ASSERT_EQ(d.primitive, PrimitiveType::TriangleFan);
            ASSERT_EQ(d.hud.size(), 4u);
            const Vec3 muzzle = Vec3TransformCoord(d.transforms[size_t(TransformType::World)].Row(3), MatrixInverse(kGun));
            EXPECT_NEAR(muzzle.y, 0.0f, 1e-4f);
            EXPECT_NEAR(muzzle.z, 2.0f, 1e-4f);
            const int frame = int(d.hud[0].u * 8.0f + 0.5f);
            shown.emplace_back(muzzle.x, frame);
            const float u0 = float(frame) / 8, u1 = float(frame + 1) / 8;
            const HudVertex expected[4] = {{-1, 1, 0, 0xFFFFFFFF, u0, 0},
                                           {1, 1, 0, 0xFFFFFFFF, u1, 0},
                                           {1, -1, 0, 0xFFFFFFFF, u1, 0.5f},
                                           {-1, -1, 0, 0xFFFFFFFF, u0, 0.5f}};
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(d.hud[i].x, expected[i].x);
                EXPECT_EQ(d.hud[i].y, expected[i].y);
                EXPECT_EQ(d.hud[i].color, expected[i].color);
                EXPECT_FLOAT_EQ(d.hud[i].u, expected[i].u);
                EXPECT_EQ(d.hud[i].v, expected[i].v);
            }
            EXPECT_EQ(d.texture0, green);
            EXPECT_EQ(d.states[size_t(RenderState::Lighting)], 0u);
            EXPECT_EQ(d.states[size_t(RenderState::DestBlend)], uint32_t(Blend::One));
            EXPECT_EQ(d.states[size_t(RenderState::ZWriteEnable)], 0u);
        }
        EXPECT_EQ(device().GetRenderState(RenderState::Lighting), 1u);
        EXPECT_EQ(device().GetRenderState(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
        EXPECT_EQ(device().GetRenderState(RenderState::ZWriteEnable), 1u);
    }
    // Shots leave in updates 1 and 12; each flash shows in the update of its shot and six more.
    std::vector<std::pair<float, int>> expected;
    for (int frame = 7; frame >= 1; --frame) expected.emplace_back(0.5f, frame);
    for (int frame = 7; frame >= 1; --frame) expected.emplace_back(-0.5f, frame);
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_NEAR(shown[i].first, expected[i].first, 1e-4f) << i;
        EXPECT_EQ(shown[i].second, expected[i].second) << i;
    }
}

// Both flashes at once: the left one is drawn first.
TEST_F(BulletPoolTest, TheLeftFlashIsDrawnBeforeTheRight) {
    pool->Update(kGun, kMapAway, fire, 0);
    pool->flashLeft = 3;
    pool->flashRight = 5;
    DrawFrame();
    const std::vector<NullDraw> hud = Draws(NullDraw::Kind::Hud);
    ASSERT_EQ(hud.size(), 2u);
    EXPECT_FLOAT_EQ(hud[0].hud[0].u, 3.0f / 8);
    EXPECT_FLOAT_EQ(hud[1].hud[0].u, 5.0f / 8);
    EXPECT_LT(Vec3TransformCoord(hud[0].transforms[0].Row(3), MatrixInverse(kGun)).x, 0.0f);
    EXPECT_GT(Vec3TransformCoord(hud[1].transforms[0].Row(3), MatrixInverse(kGun)).x, 0.0f);
}

}  // namespace
