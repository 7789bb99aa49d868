// The player's craft on the real map and course: its start, bank and strafe, hanging in place
// without lives, the overlay steering in its place, and its drawing.
#include "chara/player.hpp"

#include <gtest/gtest.h>

#include "game_folder.hpp"
#include "motion/local_mover.hpp"

namespace {

class PlayerTest : public GameFolderTest {
protected:
    int Step(Player& player, int lives = 3) {
        return player.Update({Matrix::Identity(), *bullets, player, &score, lives, controls});
    }
    void Hold(bool left, bool right) {
        controls.slideLeft = left;
        controls.slideRight = right;
    }
    Controls controls;
};

TEST_F(PlayerTest, StartsFacingZ120AboveTheFirstGateHeadingForTheSecond) {
    Player player(course, models());
    Matrix expected = Matrix::Identity();
    expected.SetRow(3, course[0]->world.Row(3) + Vec3{0, 120, 0});
    EXPECT_EQ(player.world, expected);
    EXPECT_EQ(player.current.index(), 1u);
    EXPECT_EQ(player.turn, 1.0f);
    EXPECT_EQ(player.bank, 0.0f);

    // The first update drops it to 7 above the ground below (the tilt that follows swings that
    // by a little), then carries it 1.9 ahead.
    EXPECT_EQ(Step(player), 0);
    const Vec3 travelled = player.world.Row(3) - expected.Row(3);
    Matrix beforeForward = player.world;
    beforeForward.SetRow(3, player.world.Row(3) - player.world.Row(2) * 1.9f);
    EXPECT_NEAR(HeightAbove(beforeForward), 7.0f, 0.01f);
    EXPECT_NEAR(Vec3Length(Vec3{travelled.x, 0, travelled.z}), 1.9f, 0.05f);
    EXPECT_LT(travelled.y, -5.0f) << "came down from 120 above the gate";
}

TEST_F(PlayerTest, OneUpdateBanksAndStrafesByTheKeys) {
    const struct Case {
        const char* what;
        bool a, d;
        float bank0, bank;  // before and after the update, degrees
        float strafe;       // along the craft's own x axis, however it is turned, against a twin that holds nothing
    } cases[] = {
        {"released: a tenth decays", false, false, 10, 9, 0},
        {"A banks left-up and strafes left", true, false, 0, 1.5f, -1.5f},
        {"D the mirror", false, true, 0, -1.5f, 1.5f},
        {"A and D cancel", true, true, 10, 9, 0},
        {"A stops at 40", true, false, 45, 40, -1.5f},
        {"D stops at -40", false, true, -45, -40, 1.5f},
        {"D from beyond the limit is not clamped the other way", false, true, 45, 39, 1.5f},
    };
    for (const Case& c : cases) {
        Player twin(course, models());
        Hold(false, false);
        Step(twin);
        Player player(course, models());
        player.bank = c.bank0;
        Hold(c.a, c.d);
        EXPECT_EQ(Step(player), 0) << c.what;
        EXPECT_NEAR(player.bank, c.bank, 1e-5f) << c.what;
        const Vec3 offset = player.world.Row(3) - twin.world.Row(3);
        EXPECT_NEAR(Vec3Dot(offset, twin.world.Row(0)), c.strafe, 1e-4f) << c.what;
        EXPECT_NEAR(Vec3Length(offset), std::abs(c.strafe), 1e-4f) << c.what;
    }
}

TEST_F(PlayerTest, AHeldSettlesTheBankAt15DegreesWellInsideTheLimit) {
    for (const bool a : {true, false}) {
        Player player(course, models());
        Hold(a, !a);
        float most = 0;
        for (int update = 0; update < 150; ++update) {
            Step(player);
            most = std::max(most, std::abs(player.bank));
        }
        EXPECT_NEAR(player.bank, a ? 15.0f : -15.0f, 1e-3f);
        EXPECT_LE(most, 15.0f + 1e-4f);
    }
}

TEST_F(PlayerTest, WithoutLivesItOnlyTurnsAndFollowsTheGroundWhileTheKeysStillBank) {
    Player player(course, models());
    for (int update = 0; update < 20; ++update) Step(player);  // down to the flight height
    player.OnCheckpointPassed();                                // a turn runs during the test
    Matrix reference = player.world;
    float turn = player.turn;
    for (int update = 0; update < 60; ++update) {
        Hold(update % 3 != 2, update % 3 == 1);
        Step(player, 0);
        const CheckPoint& gate = player.current.gate();
        TurnTowardsGate(reference, turn, Player::kTurnIncrement, gate.world.Row(3), gate.kind == 2);
        LocalMover::FollowGround(reference, Matrix::Identity(), *models().Get("data/model/mapA.x"));
        ASSERT_EQ(player.world, reference) << update;
    }
    EXPECT_NE(player.bank, 0.0f);
    EXPECT_GE(player.turn, 1.0f) << "the turn ran to its end";
}

// The game scene flies it with the overlay's controls instead (see the game scene's tests).
TEST_F(PlayerTest, SteeredByTheOverlayItNeitherTurnsNorFollowsTheGroundNorAdvancesButStillBanks) {
    Player player(course, models());
    player.steeredByOverlay = true;
    player.OnCheckpointPassed();
    const Matrix start = player.world;
    Hold(true, false);
    EXPECT_EQ(Step(player), 0);
    EXPECT_EQ(player.world, start) << "no turn, no ground following, no advance, no strafe";
    EXPECT_EQ(player.turn, 0.0f);
    EXPECT_NEAR(player.bank, 1.5f, 1e-6f) << "the slide still banks the model";
}

TEST_F(PlayerTest, NoTurnRunsTowardsTheGoal) {
    Player player(course, models());
    for (int update = 0; update < 20; ++update) Step(player);
    size_t goal = 0;
    while (course[goal]->kind != checkpoint_kind::kEnd) ++goal;
    player.current.MoveTo(goal);
    player.OnCheckpointPassed();
    const Matrix before = player.world;
    Step(player);
    EXPECT_EQ(player.turn, 0.0f);
    EXPECT_NEAR(Vec3Dot(player.world.Row(2), before.Row(2)), 1.0f, 1e-3f) << "only the ground tilts it";
}

TEST_F(PlayerTest, DrawsTheCraftBankedAboutItsForwardAxis) {
    Player player(course, models());
    player.world = MatrixRotationY(0.4f) * MatrixTranslation(10, 20, 30);
    player.bank = 30;
    ASSERT_TRUE(device().BeginScene());
    player.Draw();
    device().EndScene();
    const std::vector<float>* mW = GameEffects::Instance().simpleShader.effect.GetValue("mW");
    ASSERT_NE(mW, nullptr);
    Matrix drawn;
    std::copy(mW->begin(), mW->end(), drawn.Data());
    const Matrix expected = MatrixRotationZ(30 * kDegToRad) * player.world;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(drawn.m[r][c], expected.m[r][c], 1e-6f);
    EXPECT_GT(drawn.m[0][1], 0.4f) << "a positive bank raises the right side";
    EXPECT_FALSE(device().draws().empty());
    EXPECT_TRUE(device().errors().empty());
}

}  // namespace
