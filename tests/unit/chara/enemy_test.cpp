// The enemy in a hand-made world of flat maps and square gate panels, where every distance is
// known: waiting, the weave, the shots and blasts, the touch, the chase's pace and sweep, the
// heat of the outline, the dying units and their explosion sprites.
#include "chara/enemy.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "course/bullet_pool.hpp"
#include "enemy_world.hpp"
#include "motion/local_mover.hpp"

using namespace enemy_world;
using namespace platform;
using namespace checkpoint_kind;

namespace {

constexpr size_t kMainGoal = 11;
constexpr size_t kSpawn = 12;

// The main course runs north along x = 0 with its gates 110 below the flight path, 1000 apart;
// enemy 1's route runs north along x = 100 at flight height: its spawn gate, a trigger gate 6
// ahead, a plain gate and its end gate far beyond.
CourseList Course() {
    CourseList c;
    for (int k = 0; k <= 11; ++k) c.push_back(Gate(k == 0 ? kStart : k == 11 ? kEnd : kPlain, 0, {0, -103, 1000.0f * k}));
    c.push_back(Gate(kStart, 1, {100, 7, 0}));
    c.push_back(Gate(kTrigger, 1, {100, 7, 6}));
    c.push_back(Gate(kPlain, 1, {100, 7, 3000}));
    c.push_back(Gate(kEnd, 1, {100, 7, 6000}));
    return c;
}

Matrix At(Vec3 p) { return MatrixTranslation(p.x, p.y, p.z); }

class EnemyTest : public HandMadeWorld {
protected:
    void SetUp() override {
        HandMadeWorld::SetUp();
        course = Course();
        enemy = std::make_unique<Enemy>(CoursePosition(course, 0), assets());
        player = std::make_unique<StandInPlayer>(CoursePosition(course, 1));
        player->world = At({-5000, 7, 0});  // far from everything unless a case moves it
    }
    // As the game scene releases enemy 1: at its spawn gate.
    void Release() {
        enemy->current.MoveTo(kSpawn);
        enemy->Activate();
    }
    bool Step() { return enemy->Update({Matrix::Identity(), *bullets, *player, &score, 3, Controls{}}); }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) Step();
    }
    // Where unit i will stand after the next update, found by flying a copy.
    Vec3 NextPosition(int i) {
        Enemy probe = *enemy;
        BulletPool none(assets(), kept().fireCooldown);
        int ignored = 0;
        probe.Update({Matrix::Identity(), none, *player, &ignored, 3, Controls{}});
        return probe.units[i].world.Row(3);
    }
    // Released and flown straight on long enough that the whole trail lies on the route; units
    // 0 to 3 evenly 2 apart.
    void FlyStraight() {
        Release();
        Steps(50);
        for (int i = 0; i < 4; ++i) enemy->units[i].lag = 0.5f;
    }
    // A blast that reaches unit i after the next update and neither of its neighbours.
    Shot& BlastOn(int i, int slot = 0) { return ShotAt(slot, NextPosition(i) + Vec3(1.0f, 0, 0), true, 0.0f); }
    Shot& ShotAt(int slot, Vec3 p, bool exploding, float size = 0.5f) {
        Shot& s = bullets->shots[slot];
        s.world = At(p);
        s.active = true;
        s.exploding = exploding;
        s.size = size;
        return s;
    }

    CourseList course;
    std::unique_ptr<Enemy> enemy;
    std::unique_ptr<StandInPlayer> player;
    int score = 0;
};

TEST_F(EnemyTest, NeverReleasedStaysStillSilentAndUnseen) {
    const Enemy before = *enemy;
    player->world = enemy->world;  // even a player on top of it is not touched
    ShotAt(0, enemy->world.Row(3), true);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(Step(), 0);
    EXPECT_EQ(enemy->world, before.world);
    EXPECT_EQ(enemy->current, before.current);
    for (int i = 0; i < Enemy::kUnitCount; ++i) {
        EXPECT_EQ(enemy->units[i].phase, before.units[i].phase);
        EXPECT_FALSE(enemy->units[i].dying);
    }
    EXPECT_EQ(enemy->trail[41].centre, before.trail[41].centre);
    EXPECT_EQ(score, 0);
    device().BeginScene();
    enemy->Draw();
    device().EndScene();
    EXPECT_TRUE(device().draws().empty());
}

TEST_F(EnemyTest, MadeAtTheFirstGateHeadingForTheSecondAndReleasedAtItsSpawnGate) {
    EXPECT_EQ(enemy->world.Row(3), course[0]->world.Row(3));
    EXPECT_EQ(enemy->current.index(), 1u);
    for (const Enemy::TrailEntry& e : enemy->trail) EXPECT_EQ(e.left, enemy->world);
    Release();
    EXPECT_EQ(enemy->world, course[kSpawn]->world);
    EXPECT_EQ(enemy->current.index(), kSpawn + 1);
    // The trail still holds the construction pose; the rear units stream in from there.
    EXPECT_EQ(enemy->trail[41].centre.Row(3), course[0]->world.Row(3));
}

TEST_F(EnemyTest, TheWeavePhaseCountsToAHundredAndTwentyOnce) {
    Release();
    enemy->units[5].phase = 119;
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        Step();
        seen.push_back(enemy->units[5].phase);
    }
    EXPECT_EQ(seen, (std::vector<int>{120, 0, 1, 2}));
    Steps(121 - 4);
    EXPECT_EQ(enemy->units[5].phase, 119);  // one cycle is 121 updates
}

TEST_F(EnemyTest, FrontUnitsKeepToTheCentreLineAndTheRestWeaveInsideTheSideLines) {
    // A chase sweeps the path from side to side under the chain.
    Release();
    enemy->EnterChase();
    float farthest = 0;
    for (int i = 0; i < 200; ++i) {
        Step();
        for (int u = 0; u < Enemy::kUnitCount; ++u) {
            const Enemy::TrailEntry& a = enemy->trail[u];
            const Enemy::TrailEntry& b = enemy->trail[u + 2];
            const Matrix centre = BlendPose(a.centre, b.centre, enemy->units[u].lag);
            const Vec3 off = enemy->units[u].world.Row(3) - centre.Row(3);
            if (u < 4) {
                EXPECT_EQ(off, Vec3(0, 0, 0)) << "unit " << u << " update " << i;
            } else {
                EXPECT_LE(Vec3Length(off), 0.9f * Enemy::kSideLine + 1e-3f) << "unit " << u;
                farthest = std::max(farthest, Vec3Length(off));
            }
        }
    }
    EXPECT_GT(farthest, 7.0f);  // the rear units sweep most of the way to a side line
}

TEST_F(EnemyTest, AFlyingShotDetonatesOnOneUnitAndItsBlastDestroysTheNext) {
    FlyStraight();
    const Vec3 first = NextPosition(0);
    ASSERT_NEAR(Vec3Length(NextPosition(1) - first), 2.0f, 1e-3f);  // inside the reach of 2.5
    ASSERT_GT(Vec3Length(NextPosition(2) - first), 2.5f);
    Shot& shot = ShotAt(3, first, false);
    Step();
    EXPECT_TRUE(shot.exploding);
    EXPECT_FALSE(enemy->units[0].dying);  // the touch of a shot in flight destroys nothing
    EXPECT_TRUE(enemy->units[1].dying);  // the blast, the next unit tested
    EXPECT_FALSE(enemy->units[2].dying);
    EXPECT_EQ(score, 100);
    // Knocked away from the blast: straight back along the route.
    EXPECT_NEAR(enemy->units[1].knockback.z, -1.0f, 1e-4f);
}

TEST_F(EnemyTest, TwoBlastsOnOneUnitScoreItOnce) {
    FlyStraight();
    const Vec3 target = NextPosition(1);
    ShotAt(0, target + Vec3(1.5f, 0, 0), true, 0.0f);  // 2.5 from units 0 and 2: out of reach
    ShotAt(7, target - Vec3(1.5f, 0, 0), true, 0.0f);
    Step();
    EXPECT_EQ(score, 100);
    EXPECT_TRUE(enemy->units[1].dying);
    for (int u = 0; u < Enemy::kUnitCount; ++u)
        if (u != 1) {
            EXPECT_FALSE(enemy->units[u].dying) << u;
            enemy->units[u].alive = false;  // the rest of the chain would fly into the blasts
        }
    // Both blasts follow the dying unit: it is not tested again.
    for (int i = 0; i < 5; ++i) {
        const Vec3 next = NextPosition(1);
        bullets->shots[0].world = At(next + Vec3(1.5f, 0, 0));
        bullets->shots[7].world = At(next - Vec3(1.5f, 0, 0));
        Step();
    }
    EXPECT_EQ(score, 100);
}

TEST_F(EnemyTest, ATouchCountsEvenWhenTheUnitIsDestroyedInTheSameUpdate) {
    FlyStraight();
    player->world = At(NextPosition(2) + Vec3(0, 0, 0.5f));
    BlastOn(2);
    EXPECT_EQ(Step(), 1);
    EXPECT_TRUE(enemy->units[2].dying);

    // Alone with a dying unit, the player is never touched.
    for (int u = 0; u < Enemy::kUnitCount; ++u)
        if (u != 2) enemy->units[u].alive = false;
    bullets->shots[0].active = false;
    for (int i = 0; i < 30; ++i) {
        player->world = At(NextPosition(2));
        EXPECT_EQ(Step(), 0);
    }
}

TEST_F(EnemyTest, AChaseSpeedsUpBehindThePlayerAndHoldsBackAheadOfIt) {
    Release();
    enemy->EnterChase();
    enemy->current.MoveTo(3);
    struct Case {
        size_t playerGate;
        float settles;
    };
    for (const Case c : {Case{0, Enemy::kMinSpeed}, Case{3, Enemy::kMaxSpeed}, Case{7, Enemy::kMaxSpeed}, Case{2, Enemy::kMinSpeed}}) {
        player->current.MoveTo(c.playerGate);
        Steps(40);  // 30 steps of 0.05 cross the whole range
        EXPECT_FLOAT_EQ(enemy->speed, c.settles) << "player heading for gate " << c.playerGate;
    }
}

TEST_F(EnemyTest, ALongChaseKeepsItsSpeedAndSweepInRange) {
    Release();
    enemy->EnterChase();
    enemy->current.MoveTo(2);
    float lowest = 10, highest = -10, left = 10, right = -10;
    for (int i = 0; i < 6000; ++i) {
        // The player wanders ahead and behind, near and far.
        player->current.MoveTo(static_cast<size_t>((i / 97) % 5));
        player->world = MatrixTranslation(std::sin(i * 0.013f) * 60.0f, 0, std::cos(i * 0.007f) * 80.0f) * enemy->world;
        Step();
        lowest = std::min(lowest, enemy->speed);
        highest = std::max(highest, enemy->speed);
        left = std::min(left, enemy->sideSpeed);
        right = std::max(right, enemy->sideSpeed);
        // The lead point keeps 7 above the flat ground.
        ASSERT_NEAR(enemy->world.m[3][1], 7.0f, 1e-3f) << "update " << i;
    }
    EXPECT_GE(lowest, 1.0f);
    EXPECT_LE(highest, 2.5f);
    EXPECT_GE(left, -1.0f);
    EXPECT_LE(right, 1.0f);
    // The whole ranges are used.
    EXPECT_FLOAT_EQ(lowest, 1.0f);
    EXPECT_FLOAT_EQ(highest, 2.5f);
    EXPECT_FLOAT_EQ(left, -1.0f);
    EXPECT_FLOAT_EQ(right, 1.0f);
}

TEST_F(EnemyTest, TheChaseLooksAtThePlayerEveryElevenUpdatesFromTheThirtySecond) {
    Release();
    enemy->EnterChase();
    std::vector<int> flips;
    float accel = enemy->sideAccel;
    for (int update = 1; update <= 80; ++update) {
        // A player that draws further away every update: every measurement flips the sweep.
        player->world = At(enemy->world.Row(3) + Vec3(0, 0, -100.0f - update));
        Step();
        if (enemy->sideAccel != accel) flips.push_back(update);
        accel = enemy->sideAccel;
    }
    EXPECT_EQ(flips, (std::vector<int>{32, 43, 54, 65, 76}));
}

TEST_F(EnemyTest, TheOutlineCoolsOnTheRouteAndKeepsItsColourInTheChase) {
    Release();
    std::vector<float> heat;
    for (int i = 0; i < 40; ++i) {
        Step();
        heat.push_back(enemy->heat);
    }
    EXPECT_EQ(enemy->current.index(), kSpawn + 2);  // the trigger gate passed in the second update
    EXPECT_NEAR(heat[0], 0.71f, 1e-5f);
    EXPECT_NEAR(heat[1], 0.69f, 1e-5f);
    EXPECT_NEAR(heat[2], 0.67f, 1e-5f);
    EXPECT_GT(heat[35], 0.0f);
    EXPECT_EQ(heat[36], 0.0f);  // the 37th route update
    EXPECT_EQ(heat[39], 0.0f);
    EXPECT_EQ(enemy->mode, EnemyMode::Route);
}

TEST_F(EnemyTest, TheChaseStartsWhenTheRouteHeadsForItsEndAndKeepsTheHeat) {
    // A short route: spawn, trigger 6 ahead, then the end.
    course[kSpawn + 2]->kind = kEnd;
    Release();
    Step();
    EXPECT_EQ(enemy->mode, EnemyMode::Route);
    Step();  // passes the trigger gate and heads for the end
    EXPECT_EQ(enemy->mode, EnemyMode::Chase);
    const float kept = enemy->heat;
    EXPECT_NEAR(kept, 0.69f, 1e-5f);
    Steps(200);
    EXPECT_EQ(enemy->heat, kept);
    // In the chase only the game scene moves an enemy on.
    EXPECT_EQ(enemy->current.index(), kSpawn + 2);
}

// Where a gate stands on the lead point or straight above it there is no way to face it; the
// enemy keeps its heading rather than be thrown to the map's origin.
TEST_F(EnemyTest, AGateWithNoDirectionToFaceKeepsTheHeading) {
    for (const Vec3 gate : {Vec3(100, 7, 0), Vec3(100, 500, 0)}) {
        SCOPED_TRACE(gate.y);
        course[kSpawn + 1] = Gate(kEnd, 1, gate);
        enemy = std::make_unique<Enemy>(CoursePosition(course, 0), assets());
        Release();
        Step();
        EXPECT_NEAR(Vec3Length(enemy->world.Row(3) - Vec3(100, 7, 2)), 0.0f, 1e-4f);
        EXPECT_NEAR(enemy->world.m[2][2], 1.0f, 1e-4f);
    }
}

TEST_F(EnemyTest, ADyingUnitTumblesAwayAndIsGoneAfterSixtyTwoUpdates) {
    FlyStraight();
    Shot& blast = BlastOn(1);
    Step();
    ASSERT_TRUE(enemy->units[1].dying);
    blast.active = false;
    const float startHeight = enemy->units[1].world.m[3][1];
    int lastFrame = 0;
    for (int n = 1; n <= 62; ++n) {
        Step();
        const EnemyUnit& u = enemy->units[1];
        EXPECT_EQ(u.alive, n < 62) << "dying update " << n;
        EXPECT_GE(u.flashFrame, lastFrame);
        EXPECT_LE(u.flashFrame, 15);
        if (n >= 26) {
            EXPECT_EQ(u.flashFrame, 15) << "dying update " << n;
        }
        lastFrame = u.flashFrame;
        if (n == 20) {
            EXPECT_GT(u.world.m[3][1], startHeight + 15.0f);  // rising, slower each update
        }
    }
    EXPECT_EQ(enemy->units[1].dyingUpdates, 62);
    EXPECT_EQ(score, 100);
}

TEST_F(EnemyTest, UnitsDrawWithTheirOutlineInTheHeatColour) {
    Release();
    Steps(3);
    device().BeginScene();
    enemy->Draw();
    device().EndScene();
    const Model* model = models().Get("data/model/enemy.x");
    ASSERT_GT(model->materialCount, 0u);
    EXPECT_EQ(device().draws().size(), 2u * Enemy::kUnitCount * model->materialCount);
    const std::vector<float>* colour = GameEffects::Instance().modelShader.effect.GetValue("OutlineColor");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(*colour, (std::vector<float>{1.0f, enemy->heat, 0.2f, 1.0f}));
    const std::vector<float>* size = GameEffects::Instance().modelShader.effect.GetValue("OutlineSize");
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(*size, std::vector<float>{0.01f});
}

TEST_F(EnemyTest, TheExplosionSpriteIsAddedOverThePictureAndTheStatesComeBack) {
    FlyStraight();
    // The camera behind the chain, as the chase camera would stand.
    device().SetTransform(TransformType::View, MatrixInverse(At(enemy->world.Row(3) + Vec3(0, 6, -120))));
    BlastOn(1);
    Step();
    bullets->shots[0].active = false;
    const EnemyUnit& unit = enemy->units[1];
    ASSERT_TRUE(unit.dying);
    // Drawn in the frame of the blast, before its first dying update, the sprite already stands
    // at the unit.
    device().BeginScene();
    enemy->Draw();
    device().EndScene();
    int drawn = 0;
    for (const NullDraw& d : device().draws()) {
        if (d.kind != NullDraw::Kind::Hud) continue;
        ++drawn;
        EXPECT_NEAR(Vec3Length(d.transforms[size_t(TransformType::World)].Row(3) - unit.world.Row(3)), 0.0f, 1e-3f);
    }
    EXPECT_EQ(drawn, 1);
    device().ClearDraws();

    Steps(7);
    // States the sprite changes and must put back as it found them.
    device().SetRenderState(RenderState::DestBlend, Blend::Zero);
    device().SetRenderState(RenderState::SrcBlend, Blend::One);
    device().SetRenderState(RenderState::BlendOp, BlendOp::Max);
    device().SetRenderState(RenderState::Lighting, 0u);
    device().SetRenderState(RenderState::ZWriteEnable, 0u);
    device().BeginScene();
    enemy->Draw();
    device().EndScene();

    std::vector<NullDraw> sprites;
    for (const NullDraw& d : device().draws())
        if (d.kind == NullDraw::Kind::Hud) sprites.push_back(d);
    ASSERT_EQ(sprites.size(), 1u);
    const NullDraw& s = sprites[0];
    EXPECT_EQ(s.primitive, PrimitiveType::TriangleFan);
    EXPECT_EQ(s.states[size_t(RenderState::BlendOp)], uint32_t(BlendOp::Add));
    EXPECT_EQ(s.states[size_t(RenderState::SrcBlend)], uint32_t(Blend::SrcAlpha));
    EXPECT_EQ(s.states[size_t(RenderState::DestBlend)], uint32_t(Blend::One));
    EXPECT_EQ(s.states[size_t(RenderState::Lighting)], 0u);
    EXPECT_EQ(s.states[size_t(RenderState::ZWriteEnable)], 0u);
    EXPECT_EQ(s.texture0, textures().Get("data/texture/particle.png")->texture);
    EXPECT_NE(s.texture0, 0u);
    // Frame 4 of the strip of 16 (7 dying updates of 0.6), a 10 x 10 square facing the camera.
    ASSERT_EQ(unit.flashFrame, 4);
    ASSERT_EQ(s.hud.size(), 4u);
    EXPECT_FLOAT_EQ(s.hud[0].u, 4.0f / 16);
    EXPECT_FLOAT_EQ(s.hud[1].u, 5.0f / 16);
    EXPECT_FLOAT_EQ(s.hud[2].v, 1.0f);
    EXPECT_EQ(s.hud[0].color, 0xFFFFFFFFu);
    const Matrix& w = s.transforms[size_t(TransformType::World)];
    EXPECT_NEAR(Vec3Length(w.Row(3) - unit.world.Row(3)), 0.0f, 1e-3f);
    EXPECT_NEAR(Vec3Length(w.Row(0)), 5.0f, 1e-4f);
    const Vec3 toCamera = Vec3Normalize(MatrixInverse(device().GetTransform(TransformType::View)).Row(3) - w.Row(3));
    EXPECT_NEAR(Vec3Dot(Vec3Normalize(w.Row(2)), toCamera), -1.0f, 1e-4f);  // the strip's face turned to it

    EXPECT_EQ(device().GetRenderState(RenderState::BlendOp), uint32_t(BlendOp::Max));
    EXPECT_EQ(device().GetRenderState(RenderState::SrcBlend), uint32_t(Blend::One));
    EXPECT_EQ(device().GetRenderState(RenderState::DestBlend), uint32_t(Blend::Zero));
    EXPECT_EQ(device().GetRenderState(RenderState::ZWriteEnable), 0u);
    EXPECT_EQ(device().GetRenderState(RenderState::Lighting), 0u);
}

}  // namespace
