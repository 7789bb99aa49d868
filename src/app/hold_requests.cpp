// Pausing a run and opening the options between two frames of the window's loop.
#include <chrono>

#include "app/application.hpp"
#include "app/player_settings.hpp"
#include "app/scene_manager.hpp"
#include "platform/window/sdl_input.hpp"

using namespace platform;

namespace {
constexpr const char* kPauseCaption = "data/Texture/pause.png";
constexpr std::chrono::seconds kFocusAfterQuestion{1};
constexpr const char* kLevelSound = "data/sound/shot.wav";  // heard at the effects' new level
}  // namespace

void Application::ApplyPlayerSettings(SceneManager& manager) {
    ApplySettings(settings, manager);
    ApplySettings(settings, window->devices());
}

bool Application::HoldIfAsked(const WindowEvent& e, SceneManager& manager) {
    if (!manager.scene || quitRequested) return false;
    const SceneId scene = manager.scene->sceneId;
    if (scene == kSceneTitle && e.type == WindowEvent::Type::Options) {
        if (!RunOptions(manager, true)) quitRequested = true;
        return true;
    }
    // The focus the system's question box took is not the player leaving the game. Its events
    // come once the box has gone, before the next frame or, through the X server, a little later.
    const bool afterQuestion = questions_->asked != questionsBeforeFrame_ ||
                               std::chrono::steady_clock::now() - questions_->answeredAt < kFocusAfterQuestion;
    const bool lostFocus = e.type == WindowEvent::Type::FocusLost && settings.pauseOnFocusLoss && !afterQuestion;
    if (scene != kSceneGame || !(e.pause || lostFocus)) return false;
    PauseRun(manager);
    return true;
}

void Application::PauseRun(SceneManager& manager) {
    SoundManager& sound = manager.services().sound();
    sound.Pause();
    for (;;) {
        const HeldScreens::PauseEnd end = held_.Pause(*window, manager.services().assets().textures.Get(kPauseCaption));
        if (end == HeldScreens::PauseEnd::Resume) break;
        if (end == HeldScreens::PauseEnd::Close || !RunOptions(manager, false)) {
            quitRequested = true;
            break;
        }
    }
    held_.Thaw();
    sound.Resume();
    // The keys that paused and resumed are not the run's.
    window->ForgetKeysPressedDuringDialog();
}

bool Application::RunOptions(SceneManager& manager, bool frozen) {
    SoundManager& sound = manager.services().sound();
    const bool open = held_.Options(*window, settings, [&](const Settings&, bool volume) {
        ApplyPlayerSettings(manager);
        if (volume) sound.PlayShot3D(kLevelSound);
    }, frozen);
    SavePlayerSettings(settingsFile, settings);
    return open;
}
