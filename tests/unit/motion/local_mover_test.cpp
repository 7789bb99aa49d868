// The own-frame moves, ground following on hand-made ground, the pose blend and the turn
// towards a gate.
#include "motion/local_mover.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "ground_model.hpp"
#include "null_world.hpp"

namespace {

using test_ground::MakeGround;
using test_ground::Patch;

constexpr float kPi = 3.14159265f;

void ExpectNearMatrix(const Matrix& a, const Matrix& b, float tolerance, const char* what) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << what << " [" << r << "][" << c << "]";
}

void ExpectNearVec(Vec3 a, Vec3 b, float tolerance, const char* what) {
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

// Some pose that is neither axis-aligned nor at the origin.
Matrix SomePose() { return MatrixRotationX(0.2f) * MatrixRotationY(0.7f) * MatrixTranslation(5, 6, 7); }

TEST(LocalMoverTest, MovesAlongTheBodysOwnAxesAndKeepsItsRotation) {
    const struct Case {
        const char* what;
        std::function<void(Matrix&)> move;
        Vec3 own;  // expected displacement in the body's own frame
    } cases[] = {
        {"forward", [](Matrix& w) { LocalMover::MoveForward(w, 1.9f); }, {0, 0, 1.9f}},
        {"forward by a negative distance goes backwards", [](Matrix& w) { LocalMover::MoveForward(w, -3.0f); }, {0, 0, -3.0f}},
        {"sideways to the left", [](Matrix& w) { LocalMover::MoveSideways(w, -1.5f); }, {-1.5f, 0, 0}},
        {"sideways to the right", [](Matrix& w) { LocalMover::MoveSideways(w, 8.0f); }, {8.0f, 0, 0}},
        {"up one unit", [](Matrix& w) { LocalMover::MoveUp(w); }, {0, 1, 0}},
        {"down one unit", [](Matrix& w) { LocalMover::MoveDown(w); }, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        const Matrix before = SomePose();
        Matrix world = before;
        c.move(world);
        const Vec3 expected = before.Row(3) + before.Row(0) * c.own.x + before.Row(1) * c.own.y + before.Row(2) * c.own.z;
        ExpectNearVec(world.Row(3), expected, 1e-5f, c.what);
        for (int r = 0; r < 3; ++r) ExpectNearVec(world.Row(r), before.Row(r), 1e-6f, c.what);
    }
}

TEST(LocalMoverTest, TurnsHalfADegreeAboutTheOwnUpAxisAndBackAgain) {
    const Matrix before = SomePose();
    Matrix world = before;
    LocalMover::TurnLeft(world);
    // The nose swings towards the body's own left (-x) by half a degree; the position stays.
    const Vec3 f = world.Row(2);
    EXPECT_NEAR(std::atan2(Vec3Dot(f, before.Row(0)), Vec3Dot(f, before.Row(2))), -0.5f * kDegToRad, 1e-6f);
    ExpectNearVec(world.Row(1), before.Row(1), 1e-6f, "left keeps the up axis");
    EXPECT_EQ(world.Row(3), before.Row(3));
    LocalMover::TurnRight(world);
    ExpectNearMatrix(world, before, 1e-6f, "left then right");
}

// Pitch of the forward axis (positive: nose down) and roll of the right axis (positive: right
// side up) of an identity-started body, radians.
float Pitch(const Matrix& w) { return std::atan2(-w.m[2][1], w.m[2][2]); }
float Roll(const Matrix& w) { return std::atan2(w.m[0][1], w.m[0][0]); }

using GroundTest = NullWorld;  // the hand-made ground goes on its device

TEST_F(GroundTest, OneCallSetsTheHeightAndTiltsATwentiethOfTheSlope) {
    const float step = std::atan(1.0f) / 20.0f;  // a twentieth of 45 degrees
    // A square hole of one unit around the origin: the height ray misses, the probes hit.
    const std::vector<Patch> holed = {{-100, -100, -0.5f, 100}, {0.5f, -100, 100, 100},
                                      {-0.5f, -100, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f, 100}};
    const struct Case {
        const char* what;
        test_ground::Height height;
        std::vector<Patch> patches;
        float y, pitch, roll;  // after one call from identity at (0, 10, 0)
    } cases[] = {
        {"flat ground: 7 above, no tilt", test_ground::Flat, {{-100, -100, 100, 100}}, 7, 0, 0},
        {"45 degrees rising ahead: nose up", [](float, float z) { return z; }, {{-100, -100, 100, 100}}, 7, -step, 0},
        {"falling away ahead: nose down", [](float, float z) { return -z; }, {{-100, -100, 100, 100}}, 7, step, 0},
        {"falling away to the right: right side down", [](float x, float) { return -x; }, {{-100, -100, 100, 100}}, 7, 0, -step},
        {"left probe off the edge: height only", [](float, float z) { return z; }, {{-0.5f, -100, 100, 100}}, 7, 0, 0},
        {"height ray over a hole: height kept, tilt as usual", [](float, float z) { return z; }, holed, 10, -step, 0},
        {"off the map: untouched", test_ground::Flat, {{50, 50, 100, 100}}, 10, 0, 0},
    };
    for (const Case& c : cases) {
        auto map = MakeGround(c.height, c.patches);
        Matrix world = MatrixTranslation(0, 10, 0);
        LocalMover::FollowGround(world, Matrix::Identity(), *map);
        ExpectNearVec(world.Row(3), {0, c.y, 0}, 1e-5f, c.what);
        EXPECT_NEAR(Pitch(world), c.pitch, 1e-6f) << c.what;
        EXPECT_NEAR(Roll(world), c.roll, 1e-6f) << c.what;
        if (c.pitch == 0 && c.roll == 0) {
            // No tilt means no rotation at all, not a rotation by a tiny angle.
            EXPECT_EQ(world.Row(0), (Vec3{1, 0, 0})) << c.what;
            EXPECT_EQ(world.Row(2), (Vec3{0, 0, 1})) << c.what;
        }
    }
}

TEST_F(GroundTest, RaysAreCarriedIntoTheMapsOwnFrame) {
    // The same flat ground, but the map stands 50 units up and turned: 7 above it means y = 57.
    auto map = MakeGround(test_ground::Flat);
    const Matrix mapWorld = MatrixRotationY(1.0f) * MatrixTranslation(3, 50, -4);
    Matrix world = MatrixTranslation(0, 80, 0);
    LocalMover::FollowGround(world, mapWorld, *map);
    ExpectNearVec(world.Row(3), {0, 57, 0}, 1e-4f, "placed map");
}

TEST_F(GroundTest, SettlesOntoASlopeGraduallyAndStaysSevenAbove) {
    auto map = MakeGround([](float, float z) { return z; });
    Matrix world = MatrixTranslation(0, 10, 0);
    float previousPitch = 0, previousStep = kPi;
    for (int update = 1; update <= 300; ++update) {
        LocalMover::FollowGround(world, Matrix::Identity(), *map);
        const float pitch = -Pitch(world);  // nose-up angle
        const float step = pitch - previousPitch;
        if (update <= 40) {
            EXPECT_GT(step, 0.0f) << update;
            EXPECT_LT(step, previousStep) << "each step is smaller than the one before, update " << update;
        }
        previousPitch = pitch;
        previousStep = step;
        // 7 along the own down axis, less what the tilt after the height step swings it by.
        const Vec3 down = Vec3TransformNormal({0, -1, 0}, world);
        const float height = map->Intersect(world.Row(3), down).distance;
        EXPECT_NEAR(height, 7.0f, update < 100 ? 0.3f : 1e-4f) << update;
    }
    EXPECT_NEAR(previousPitch, kPi / 4, 1e-4f) << "lies along the 45-degree slope in the end";
}

TEST(BlendPoseTest, SlerpsTheRotationAndLerpsThePosition) {
    const Matrix from = MatrixRotationY(0.3f) * MatrixTranslation(1, 2, 3);
    const Matrix to = MatrixRotationX(1.0f) * MatrixRotationY(-0.4f) * MatrixTranslation(-4, 5, 6);
    ExpectNearMatrix(BlendPose(from, to, 0.0f), from, 1e-6f, "t = 0 gives from");
    ExpectNearMatrix(BlendPose(from, to, 1.0f), to, 1e-6f, "t = 1 gives to");
    const Matrix half = BlendPose(from, to, 0.5f);
    ExpectNearVec(half.Row(3), {-1.5f, 3.5f, 4.5f}, 1e-6f, "half way: the midpoint");
    // Half way round: the blend is as far from either end, by half their angle apart.
    const auto angle = [](const Matrix& a, const Matrix& b) {
        const Matrix r = a * MatrixTranspose(b);
        return std::acos(std::clamp((r.m[0][0] + r.m[1][1] + r.m[2][2] - 1) / 2, -1.0f, 1.0f));
    };
    EXPECT_NEAR(angle(half, from), angle(from, to) / 2, 1e-4f);
    EXPECT_NEAR(angle(half, to), angle(from, to) / 2, 1e-4f);
    EXPECT_EQ(half.m[3][3], 1.0f);
}

TEST(TurnTowardsGateTest, ATurnRunsItsBlendsFromZeroUntilTPassesOneAndEndsFacingTheGate) {
    const struct Case {
        float increment;
        int blends;
    } cases[] = {{0.03f, 34}, {0.01f, 101}};
    for (const Case& c : cases) {
        const Vec3 gate{300, -110, 300};  // the aim 110 above it is 45 degrees to the right
        const Matrix start = MatrixTranslation(0, 0, 0);
        Matrix world = start;
        float turn = 0;
        int blends = 0;
        for (int update = 0; update < 200; ++update) {
            const float before = turn;
            const Matrix pose = world;
            TurnTowardsGate(world, turn, c.increment, gate, false);
            if (turn == before) {
                EXPECT_EQ(world, pose) << "nothing moves once the turn is over";
                continue;
            }
            EXPECT_LT(before, 1.0f);
            if (blends == 0) ExpectNearMatrix(world, start, 1e-6f, "the first blend, at t = 0, changes nothing");
            ExpectNearVec(world.Row(3), start.Row(3), 1e-4f, "the turn never moves the body");
            ++blends;
        }
        EXPECT_EQ(blends, c.blends) << c.increment;
        EXPECT_GE(turn, 1.0f);
        const Vec3 toAim = Vec3Normalize(Vec3{300, 0, 300} - world.Row(3));
        EXPECT_NEAR(Vec3Dot(world.Row(2), toAim), 1.0f, 1e-6f) << "faces the point above the gate";
        EXPECT_NEAR(world.m[1][1], 1.0f, 1e-6f) << "stays upright";
    }
}

TEST(TurnTowardsGateTest, NoTurnTowardsTheGoal) {
    Matrix world = Matrix::Identity();
    float turn = 0;
    TurnTowardsGate(world, turn, 0.03f, {300, -110, 300}, true);
    EXPECT_EQ(turn, 0.0f);
    EXPECT_EQ(world, Matrix::Identity());
}

}  // namespace
