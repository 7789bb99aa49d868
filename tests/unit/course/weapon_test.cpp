// The gun: its bank, its aim from the mount, aim points that give no direction, and its draw.
#include "course/weapon.hpp"

#include <cmath>

#include "combat_fixture.hpp"

using namespace platform;

namespace {

using WeaponTest = CombatTest;

// A player turned 30 degrees about y and tilted 10 degrees about z, somewhere in the world.
Matrix PlayerWorld() {
    return MatrixRotationZ(10 * kDegToRad) * MatrixRotationY(30 * kDegToRad) * MatrixTranslation(100, 20, -50);
}

void ExpectNear(const Matrix& a, const Matrix& b, float tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << "row " << r << " column " << c;
}

TEST_F(WeaponTest, BankDecaysByATenthPerAimAndAnswersTheSlideControls) {
    struct Case {
        const char* name;
        float start;
        bool left, right;  // the slide controls
        int calls;
        float roll;
    } cases[] = {
        {"one call decays a tenth", 20, false, false, 1, 18},
        {"two calls decay twice", 20, false, false, 2, 16.2f},
        {"left held settles where decay meets the step", 0, true, false, 300, 15},
        {"right held settles on the other side", 0, false, true, 300, -15},
        {"left and right cancel", 10, true, true, 1, 9},
        {"never past 40", 50, true, false, 1, 40},
        {"never past -40", -50, false, true, 1, -40},
    };
    for (const Case& c : cases) {
        Weapon weapon(PlayerWorld(), models());
        weapon.roll = c.start;
        for (int i = 0; i < c.calls; ++i) weapon.Aim(PlayerWorld(), {0, 0, 0}, c.left, c.right);
        EXPECT_NEAR(weapon.roll, c.roll, 1e-3f) << c.name;
    }
}

TEST_F(WeaponTest, StandsOnItsBankedMountAndPointsAtTheAimPoint) {
    const Matrix player = PlayerWorld();
    Weapon weapon(player, models());
    ExpectNear(weapon.world, MatrixTranslation(0, 1.5f, -0.655f) * player, 1e-4f);

    const Vec3 aim{-300, 80, 400};
    weapon.Aim(player, aim, true, false);  // roll 1.5 degrees: the mount swings about the forward axis
    const Vec3 eye = (MatrixTranslation(0, 1.5f, -0.655f) * MatrixRotationZ(1.5f * kDegToRad) * player).Row(3);
    const Vec3 up = Vec3Normalize(Vec3TransformNormal({0, 1, 0}, player));
    ExpectNear(weapon.world, MatrixInverse(MatrixLookAtLH(eye, aim, up)), 1e-4f);
    const Vec3 forward = weapon.world.Row(2), toAim = Vec3Normalize(aim - eye);
    EXPECT_NEAR(Vec3Dot(forward, toAim), 1.0f, 1e-6f);
    EXPECT_NEAR(Vec3Length(weapon.rotAxis - up), 0.0f, 1e-6f);
}

// An aim point on the eye, or straight along the player's up axis from it, gives the look-at
// no direction: the gun keeps its last orientation and stays on the mount.
TEST_F(WeaponTest, AnAimPointWithoutDirectionKeepsTheLastOrientation) {
    const Matrix player = PlayerWorld();
    const Vec3 eye = (MatrixTranslation(0, 1.5f, -0.655f) * player).Row(3);
    const Vec3 up = Vec3TransformNormal({0, 1, 0}, player);
    const struct {
        const char* name;
        Vec3 aim;
    } cases[] = {{"on the eye", eye}, {"above the eye", eye + up * 50.0f}, {"below the eye", eye - up * 5.0f}};
    for (const auto& c : cases) {
        Weapon weapon(player, models());
        weapon.Aim(player, eye + Vec3TransformNormal({0, 0, 100}, player), false, false);
        const Matrix before = weapon.world;
        weapon.Aim(player, c.aim, false, false);
        for (int r = 0; r < 3; ++r) EXPECT_EQ(weapon.world.Row(r), before.Row(r)) << c.name;
        EXPECT_NEAR(Vec3Length(weapon.world.Row(3) - eye), 0.0f, 1e-4f) << c.name;
    }
}

TEST_F(WeaponTest, DrawsItsModelAtItsWorld) {
    Weapon weapon(PlayerWorld(), models());
    weapon.Aim(PlayerWorld(), {0, 0, 0}, false, false);
    device().BeginScene();
    weapon.Draw();
    device().EndScene();
    ASSERT_EQ(device().draws().size(), 1u);
    EXPECT_EQ(device().draws()[0].indexCount, 6u);
    const std::vector<float>* mW = GameEffects::Instance().simpleShader.effect.GetValue("mW");
    ASSERT_NE(mW, nullptr);
    EXPECT_EQ(std::vector<float>(weapon.world.Data(), weapon.world.Data() + 16), *mW);
}

}  // namespace
