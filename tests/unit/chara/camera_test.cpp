// The chase camera: the pose behind the player, the aim point on the real sky, the shake
// behind a destroyed player and the swing to the end view.
#include "chara/camera.hpp"

#include <gtest/gtest.h>

#include <random>

#include "game_folder.hpp"

using platform::TransformType;

namespace {

class CameraTest : public GameFolderTest {
protected:
    const Matrix& DeviceTransform(TransformType type) { return GraphicsDevice::Instance().device->GetTransform(type); }
    // Some player pose, turned and tilted, away from the origin.
    const Matrix player = MatrixRotationZ(0.1f) * MatrixRotationX(-0.2f) * MatrixRotationY(2.0f) * MatrixTranslation(40, 12, -300);
    // A point given in the player's own frame, in world space.
    Vec3 Own(Vec3 p) const { return Vec3TransformCoord(p, player); }
};

void ExpectNearVec(Vec3 a, Vec3 b, float tolerance, const std::string& what) {
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST_F(CameraTest, BeforeAnyUpdateEverythingHasADefinedValue) {
    Camera camera(models());
    EXPECT_EQ(camera.world, Matrix::Identity());
    EXPECT_EQ(camera.target, (Vec3{0, 0, 0}));
    camera.SetView();
    EXPECT_EQ(DeviceTransform(TransformType::View), Matrix::Identity());
}

TEST_F(CameraTest, RidesSixUpAndTwelveBehindSwungByPitchThenYaw) {
    const struct Case {
        float pitch, yaw;
        Vec3 forward;  // the camera's line of sight in the player's own frame
    } cases[] = {
        {0, 0, {0, 0, 1}},
        {0, 90, {1, 0, 0}},               // cursor to the right turns the view right
        {-30, 0, {0, 0.5f, 0.8660254f}},  // cursor up lowers pitch and looks up
    };
    const Matrix sky = MatrixScaling(5, 5, 5) * MatrixTranslation(40, 12, -300);
    for (const Case& c : cases) {
        Camera camera(models());
        camera.pitch = c.pitch;
        camera.yaw = c.yaw;
        const Matrix viewBefore = DeviceTransform(TransformType::View);
        camera.Update(player, sky);
        const std::string what = std::to_string(c.pitch) + "/" + std::to_string(c.yaw);
        ExpectNearVec(camera.world.Row(2), Vec3TransformNormal(c.forward, player), 1e-5f, what);
        if (c.pitch == 0 && c.yaw == 0) {
            ExpectNearVec(camera.world.Row(3), Own({0, 6, -12}), 1e-4f, "at rest");
            ExpectNearVec(camera.world.Row(1), player.Row(1), 1e-5f, "at rest");
        }
        EXPECT_NEAR(Vec3Length(camera.world.Row(3) - player.Row(3)), std::sqrt(180.0f), 1e-3f) << what;
        EXPECT_EQ(DeviceTransform(TransformType::View), viewBefore) << "the view waits for SetView";
    }
}

TEST_F(CameraTest, ProjectionFollowsTheFieldOfViewOnTheBackBuffer) {
    Camera camera(models());
    camera.fov = 120;
    camera.Update(player, MatrixScaling(5, 5, 5));
    const Matrix expected = MatrixPerspectiveFovLH(120 * kDegToRad, 1280.0f / 720.0f, 0.01f, 10000.0f);
    EXPECT_EQ(camera.projection, expected);
    EXPECT_EQ(DeviceTransform(TransformType::Projection), expected);
    camera.SetView();
    EXPECT_EQ(DeviceTransform(TransformType::View), MatrixInverse(camera.world));
}

TEST_F(CameraTest, AimsWhereTheLineOfSightMeetsTheSkyAndKeepsTheAimOnAMiss) {
    Camera camera(models());
    camera.yaw = 25;
    Matrix sky = MatrixScaling(5, 5, 5);
    sky.SetRow(3, player.Row(3));
    camera.Update(player, sky);
    const Vec3 eye = camera.world.Row(3);
    const Vec3 toTarget = camera.target - eye;
    // The dome has a radius of 1000 around the player; the camera stands 13 units off centre.
    EXPECT_GT(Vec3Length(toTarget), 950.0f);
    EXPECT_LT(Vec3Length(toTarget), 1015.0f);
    EXPECT_NEAR(Vec3Dot(Vec3Normalize(toTarget), camera.world.Row(2)), 1.0f, 1e-6f);
    EXPECT_NEAR(camera.rayDistance, Vec3Length(toTarget), 1e-2f) << "the overlay shows how far the aim ray went";

    const Vec3 aim = camera.target;
    sky.SetRow(3, player.Row(3) - camera.world.Row(2) * 100000.0f);  // the dome far behind
    camera.yaw = 0;
    camera.Update(player, sky);
    EXPECT_EQ(camera.target, aim);
    EXPECT_EQ(camera.rayDistance, -1.0f) << "a miss";
}

TEST_F(CameraTest, ShakesOnlyBehindADestroyedPlayerDuringFrames1To99) {
    // The reference draws from a generator seeded like the camera's: vertical first.
    std::mt19937 reference(10);
    Camera camera(models());
    const struct Step {
        int endFrames, hitsLeft;
        bool draws;
    } steps[] = {
        {0, -1, false}, {95, -1, true},  // n = 1: two draws, both offsets 0
        {1, -1, true},  {100, -1, false}, {250, -1, false}, {55, -1, true},
        {99, -1, true}, {30, 0, false},  // a won run swings instead
        {12, -1, true},
    };
    for (const Step& s : steps) {
        Vec3 offset{0, 6, -12};
        if (s.draws) {
            const unsigned n = unsigned(10 - s.endFrames / 10);
            offset.y += float(reference() % n);
            offset.x += float(reference() % n);
        }
        camera.UpdateEnd(player, s.endFrames, s.hitsLeft);
        if (s.hitsLeft < 0) ExpectNearVec(camera.world.Row(3), Own(offset), 1e-4f, std::to_string(s.endFrames));
        ExpectNearVec(camera.target, Own({0, 1, 1}), 1e-4f, "aims just ahead");
        EXPECT_EQ(DeviceTransform(TransformType::View), MatrixInverse(camera.world));
    }
}

TEST_F(CameraTest, AWonRunSwingsToTheEndViewOver20UpdatesAndHoldsIt) {
    for (const int hitsLeft : {0, 2}) {
        Camera camera(models());
        Matrix worlds[25];
        for (int update = 0; update < 25; ++update) {
            EXPECT_NEAR(camera.endBlend, std::min(1.0f, 0.05f * float(update)), 1e-5f) << update;
            camera.UpdateEnd(player, 200 + update, hitsLeft);
            worlds[update] = camera.world;
        }
        const Vec3 start = worlds[0].Row(3);
        ExpectNearVec(start, Own({0, 6, -12}), 1e-4f, "the swing starts at the chase view");
        const Matrix& end = worlds[24];
        for (int update = 19; update < 24; ++update) {
            const float apart = Vec3Length(worlds[update].Row(3) - end.Row(3));
            if (update < 20) EXPECT_GT(apart, 0.1f) << "still swinging in the 20th update";
            else EXPECT_LT(apart, 1e-4f) << "held from the 21st update, " << update;
        }
        // The end view: about 11 units away, in front of the player and above it, a little to its
        // left, looking back down at it with the player 27 degrees off the line of sight.
        const Vec3 eye = end.Row(3) - player.Row(3);
        EXPECT_NEAR(Vec3Length(eye), std::sqrt(125.0f), 1e-3f);
        EXPECT_GT(Vec3Dot(eye, player.Row(2)), 5.0f);
        EXPECT_GT(Vec3Dot(eye, player.Row(1)), 2.0f);
        EXPECT_LT(Vec3Dot(eye, player.Row(0)), 0.0f);
        EXPECT_NEAR(Vec3Dot(end.Row(2), Vec3Normalize(-eye)), 10 / std::sqrt(125.0f), 1e-4f);
        // Positions are blended in a straight line: half way after 10 steps.
        Camera half(models());
        for (int update = 0; update <= 10; ++update) half.UpdateEnd(player, 200, hitsLeft);
        ExpectNearVec(half.world.Row(3), (start + end.Row(3)) * 0.5f, 1e-3f, "half way");
    }
}

}  // namespace
