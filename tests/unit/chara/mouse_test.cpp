// The mouse as a joystick, on a scripted cursor.
#include "chara/mouse.hpp"

#include <gtest/gtest.h>

#include "chara/camera.hpp"
#include "graphics/graphics_device.hpp"

using namespace platform;

namespace {

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        GraphicsDevice::Instance().CreateNull(1280, 720);
        input.windowOrigin = {100, 50};
        SetInput(&input);
    }
    void TearDown() override {
        SetInput(nullptr);
        GraphicsDevice::Instance().Release();
    }
    ScriptedInput input;
};

TEST_F(MouseTest, CentreIsTheMiddleOfTheBackBufferOnTheScreen) {
    Mouse mouse;
    EXPECT_EQ(mouse.centre, (Point{740, 410}));
}

TEST_F(MouseTest, TurnsByTheOffsetAndPullsTheCursorBack) {
    const struct Case {
        const char* what;
        Point offset;
        float pitch0;
        float yaw, pitch;  // after one update
        Point cursor;      // offset from the middle after the update
    } cases[] = {
        {"inside the dead zone", {15, -15}, 0, 0, 0, {15, -15}},
        {"just outside, right", {16, 0}, 0, 0.16f, 0, {15, 0}},
        {"just outside, left", {-16, 0}, 0, -0.16f, 0, {-15, 0}},
        {"far right: turn, pull back, then the limit", {400, 0}, 0, 4.0f, 0, {250, 0}},
        {"far left", {-400, 0}, 0, -4.0f, 0, {-250, 0}},
        {"up, clamped at -80 not -80.9", {0, -100}, -79.9f, 0, -80.0f, {0, -90}},
        {"down, clamped at 15", {0, 300}, 14.0f, 0, 15.0f, {0, 250}},
        {"both axes in one call", {30, 40}, 0, 0.3f, 0.4f, {27, 36}},
        {"a tenth below one pixel pulls nothing", {0, 19}, 0, 0, 0.19f, {0, 18}},
    };
    for (const Case& c : cases) {
        Mouse mouse;
        Camera camera;
        camera.pitch = c.pitch0;
        input.SetCursor({mouse.centre.x + c.offset.x, mouse.centre.y + c.offset.y});
        mouse.Update(camera);
        EXPECT_NEAR(camera.yaw, c.yaw, 1e-5f) << c.what;
        EXPECT_NEAR(camera.pitch, c.pitch, 1e-5f) << c.what;
        const Point p = input.GetCursorPos();
        EXPECT_EQ(p.x - mouse.centre.x, c.cursor.x) << c.what;
        EXPECT_EQ(p.y - mouse.centre.y, c.cursor.y) << c.what;
    }
}

TEST_F(MouseTest, StrafeKeysMoveAlongTheOwnSidewaysAxis) {
    // A body turned a quarter left about y: its own right is world +z.
    const Matrix turned = MatrixRotationY(-1.5707963f) * MatrixTranslation(10, 0, 0);
    const struct {
        bool a, d;
        Vec3 position;
    } cases[] = {{false, false, {10, 0, 0}}, {true, false, {10, 0, -1.5f}}, {false, true, {10, 0, 1.5f}},
                 {true, true, {10, 0, 0}}};
    for (const auto& c : cases) {
        input.SetKey(Key::A, c.a);
        input.SetKey(Key::D, c.d);
        Matrix world = turned;
        Mouse::ApplyStrafeKeys(world);
        EXPECT_NEAR(world.m[3][0], c.position.x, 1e-5f);
        EXPECT_NEAR(world.m[3][2], c.position.z, 1e-5f);
    }
}

}  // namespace
