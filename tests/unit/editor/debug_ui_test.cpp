// The overlay's flight controls and free look on the controls snapshot, and its windows inside
// and outside a UI frame and while it is off.
#include "editor/debug_ui.hpp"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>
#include <vector>

#include "../motion/ground_model.hpp"
#include "chara/camera.hpp"
#include "chara/mouse.hpp"
#include "null_world.hpp"

using platform::Key;

namespace {

class DebugUiTest : public NullWorld {
protected:
    void SetUp() override {
        EnterWorld();
        ground = test_ground::MakeGround(test_ground::Flat);
    }
    void TearDown() override {
        ground.reset();
        NullWorld::TearDown();
    }
    // The fly keys of an update in which exactly these keys are held.
    FlyKeys Hold(std::initializer_list<Key> keys) {
        for (Key k : {Key::W, Key::S, Key::A, Key::D, Key::R, Key::F, Key::Q, Key::E, Key::Z}) input.SetKey(k, false);
        for (Key k : keys) input.SetKey(k, true);
        return ReadInput().fly;
    }
    std::unique_ptr<Model> ground;
};

TEST_F(DebugUiTest, FlyKeysStepInTheOwnFrameInTheirOrder) {
    const float half = 0.5f * kDegToRad;
    const struct Case {
        const char* what;
        std::initializer_list<Key> keys;
        Vec3 position;  // from the identity
        float yaw;      // radians about the own up axis
    } cases[] = {
        {"W", {Key::W}, {0, 0, 2}, 0},
        {"S", {Key::S}, {0, 0, -2}, 0},
        {"A", {Key::A}, {0, 0, 0}, -half},
        {"D", {Key::D}, {0, 0, 0}, half},
        {"R", {Key::R}, {0, 1, 0}, 0},
        {"F", {Key::F}, {0, -1, 0}, 0},
        {"Q", {Key::Q}, {-2, 0, 0}, 0},
        {"E", {Key::E}, {2, 0, 0}, 0},
        {"W and S cancel", {Key::W, Key::S}, {0, 0, 0}, 0},
        {"W moves before A turns", {Key::W, Key::A}, {0, 0, 2}, -half},
        {"D turns before E moves", {Key::D, Key::E}, {2 * std::cos(half), 0, -2 * std::sin(half)}, half},
    };
    for (const Case& c : cases) {
        Matrix world = Matrix::Identity();
        overlay().FlyControls(world, Matrix::Identity(), *ground, Hold(c.keys));
        EXPECT_NEAR(world.m[3][0], c.position.x, 1e-6f) << c.what;
        EXPECT_NEAR(world.m[3][1], c.position.y, 1e-6f) << c.what;
        EXPECT_NEAR(world.m[3][2], c.position.z, 1e-6f) << c.what;
        EXPECT_NEAR(std::atan2(world.m[2][0], world.m[2][2]), c.yaw, 1e-6f) << c.what;
    }
}

TEST_F(DebugUiTest, ZTogglesWalkModeOncePerPressAndWalkModeFollowsTheGround) {
    const struct Frame {
        bool z;
        bool walkMode;
        float y;  // starting 10 above the flat ground every frame
    } frames[] = {
        {false, 0, 10}, {true, 1, 7}, {true, 1, 7}, {true, 1, 7}, {false, 1, 7}, {true, 0, 10}, {false, 0, 10}, {true, 1, 7},
    };
    int index = 0;
    for (const Frame& f : frames) {
        Matrix world = MatrixTranslation(0, 10, 0);
        overlay().FlyControls(world, Matrix::Identity(), *ground, f.z ? Hold({Key::Z}) : Hold({}));
        EXPECT_EQ(overlay().walkMode, f.walkMode) << index;
        EXPECT_NEAR(world.m[3][1], f.y, 1e-5f) << index;
        ++index;
    }
}

TEST_F(DebugUiTest, FreeLookTurnsOutsideTheDeadZoneWithinItsPitchLimitsOnlyInWalkMode) {
    const struct Case {
        const char* what;
        CursorOffset offset;  // the controls' look
        bool walkMode;
        float pitch0, yaw0;
        float pitch, yaw;
    } cases[] = {
        {"25 pixels out turns nothing", {25, -25}, 1, 0, 0, 0, 0},
        {"26 right", {26, 0}, 1, 0, 0, 0, 0.26f},
        {"26 left", {-26, 0}, 1, 0, 3, 0, 2.74f},
        {"26 down", {0, 26}, 1, 0, 0, 0.26f, 0},
        {"100 up", {0, -100}, 1, 0, 0, -1.0f, 0},
        {"up stops at -20", {0, -300}, 1, -19.0f, 0, -20.0f, 0},
        {"down stops at 15", {0, 300}, 1, 14.0f, 0, 15.0f, 0},
        {"the limit applies only when pitch changes", {0, 0}, 1, -30.0f, 0, -30.0f, 0},
        {"a pitch below the limit is brought to it by the step", {0, -30}, 1, -30.0f, 0, -20.0f, 0},
        {"both axes", {200, 200}, 1, 0, 0, 2.0f, 2.0f},
        {"walk mode off: nothing written", {200, 200}, 0, 1.0f, 2.0f, 1.0f, 2.0f},
    };
    for (const Case& c : cases) {
        overlay().walkMode = c.walkMode;
        Camera camera(models());
        camera.pitch = c.pitch0;
        camera.yaw = c.yaw0;
        Controls look;
        look.lookX = c.offset.x;
        look.lookY = c.offset.y;
        overlay().FreeLook(camera, look);
        EXPECT_NEAR(camera.pitch, c.pitch, 1e-5f) << c.what;
        EXPECT_NEAR(camera.yaw, c.yaw, 1e-5f) << c.what;
    }
}

TEST_F(DebugUiTest, WindowsAppearOnlyInsideAUiFrameAndWhileTheOverlayIsOn) {
    // Headless: no UI at all, nothing happens.
    DebugUi& ui = overlay();
    ui.enabled = true;
    ui.ShowCameraState(-1.0f, {1, 2, 3}, {4, 5, 6});
    ui.DebugText("ID%d", 1);
    ui.Draw(60, 1);

    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280, 720);
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    // A context between frames is no place for windows either.
    ui.ShowCameraState(-1.0f, {1, 2, 3}, {4, 5, 6});
    ImGui::NewFrame();
    // The game scene asks every update; while the overlay is off nothing shows.
    ui.enabled = false;
    ui.ShowCameraState(12.5f, {1, 2, 3}, {4, 5, 6});
    ui.Draw(60, 1);
    EXPECT_EQ(ImGui::FindWindowByName("CamState"), nullptr);
    ui.enabled = true;
    ui.ShowCameraState(12.5f, {1, 2, 3}, {4, 5, 6});
    ui.Draw(60, 1);
    EXPECT_NE(ImGui::FindWindowByName("CamState"), nullptr);
    EXPECT_NE(ImGui::FindWindowByName("Frame"), nullptr);
    ImGui::EndFrame();
    ImGui::DestroyContext();
}

}  // namespace
