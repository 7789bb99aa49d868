// A gamepad plays the real game headless: SDL's virtual joystick, sampled into the game's input
// once a frame as the window does it, starts the run from the title with Start, turns the camera
// with the right stick (and stops turning the moment the stick is let go), banks and strafes with
// the left stick, fires with the right trigger and asks to leave with Back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "chara/camera.hpp"
#include "chara/player.hpp"
#include "course/bullet_pool.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window_input.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_factory.hpp"
#include "scene/scene_game.hpp"
#include "../../support/virtual_pad.hpp"

using namespace platform;

namespace {

// What a frame's update left, as a player would notice it.
struct Seen {
    SceneId scene = kSceneTitle;
    bool playing = false;  // the opening is over
    float yaw = 0, bank = 0;
    int shots = 0;
};

TEST(GamepadPlay, StartTurnStrafeFireAndBack) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(KORVELIN_GAME_DIR);
    setenv("ALSOFT_DRIVERS", "headless-none", 1);
    int index = -1;
    SDL_Joystick* pad = test_pad::Attach(&index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();

    SdlInput devices(1280, 720);
    WindowInput input(devices);
    input.SetCursor({640, 360});
    SetInput(&input);
    std::vector<std::string> asked;
    SetDialogHandler([&](const DialogRequest& r) {
        asked.push_back(r.text);
        return DialogAnswer::No;
    });
    CurrentGameOptions().seed = 1;
    Application& app = Application::Instance();
    app.config.paceFrames = false;
    app.config.sceneFactory = CreateGameScene;
    std::string error;
    ASSERT_TRUE(app.InitHeadless(1280, 720, &error)) << error;

    std::vector<Seen> seen;
    SceneManager manager(app.config.sceneFactory);
    manager.SetUpdateObserver([&](const SceneBase* scene) {
        Seen s;
        if (const auto* game = dynamic_cast<const SceneGame*>(scene)) {
            s.scene = kSceneGame;
            s.playing = game->run().phase != RunPhase::Opening;
            s.yaw = game->camera->yaw;
            s.bank = static_cast<const Player&>(game->player()).bank;
            for (const Shot& shot : game->bullets->shots) s.shots += shot.active;
        }
        seen.push_back(s);
    });
    manager.Init();

    // The pad's plan, counted from the first frame of play once Start has led there.
    std::optional<int> play;
    auto set = [&](int frame) {
        auto button = [&](SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad, b, down); };
        auto axis = [&](SDL_GameControllerAxis a, int v) { SDL_JoystickSetVirtualAxis(pad, a, Sint16(v)); };
        button(SDL_CONTROLLER_BUTTON_START, frame == 5 || frame == 6);
        if (!play) return;
        const int t = frame - *play;
        axis(SDL_CONTROLLER_AXIS_RIGHTX, t >= 10 && t < 40 ? 32767 : 0);
        axis(SDL_CONTROLLER_AXIS_LEFTX, t >= 60 && t < 100 ? -32768 : 0);
        axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, t >= 60 && t < 120 ? 32767 : -32768);
        button(SDL_CONTROLLER_BUTTON_BACK, t == 140);
    };
    for (int frame = 0; frame < 600 && !(play && frame > *play + 150); ++frame) {
        set(frame);
        SDL_Event e;
        while (SDL_PollEvent(&e)) devices.HandleEvent(e);
        devices.Feed(frame, input, nullptr);
        app.RunFrame(manager);
        if (!play && seen.back().playing) play = frame + 1;
    }
    manager.Release();
    app.Shutdown();
    SetDialogHandler(nullptr);
    SetInput(nullptr);
    SDL_JoystickClose(pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    std::filesystem::current_path(previous);

    ASSERT_TRUE(play) << "Start never led from the title into a run";
    const int p = *play;
    ASSERT_GE(int(seen.size()), p + 150);
    EXPECT_LT(p, 5 + 67 + 86 + 90 + 10) << "the title began its zoom the frame Start went down";
    // Turning: nothing before the stick, two degrees a frame while it is pushed all the way, and
    // not a hair more once it is let go.
    EXPECT_EQ(seen[p + 9].yaw, 0.0f);
    EXPECT_NEAR(seen[p + 39].yaw - seen[p + 20].yaw, 19 * 2.0f, 0.01f);
    EXPECT_EQ(seen[p + 59].yaw, seen[p + 41].yaw) << "the view drifted on after the stick was let go";
    // Strafing banks the craft; the trigger fires.
    EXPECT_LT(std::abs(seen[p + 59].bank), 1.0f);
    EXPECT_GT(seen[p + 90].bank, 10.0f);
    EXPECT_EQ(seen[p + 59].shots, 0);
    int most = 0;
    for (int f = p + 60; f < p + 120; ++f) most = std::max(most, seen[f].shots);
    EXPECT_GT(most, 0) << "holding the trigger fired nothing";
    // Back asks whether to leave; answered No, the run goes on.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Return to the title?");
    EXPECT_EQ(seen.back().scene, kSceneGame);
}

}  // namespace
