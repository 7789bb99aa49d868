// When the window's loop holds the game between two frames: the options key on the title, the
// pause key or a lost focus in a run.
#include <chrono>

#include "app/application.hpp"
#include "app/scene_manager.hpp"

using namespace platform;

namespace {
constexpr const char* kPauseCaption = "data/Texture/pause.png";
constexpr std::chrono::seconds kFocusAfterQuestion{1};
}  // namespace

bool Application::HoldIfAsked(const WindowEvent& e, SceneManager& manager) {
    if (!manager.scene || quitRequested_) return false;
    const SceneId scene = manager.scene->sceneId;
    HeldRun held(*screens_);
    if (scene == kSceneTitle && e.type == WindowEvent::Type::Options) {
        if (!held.Options(settings, manager.services().sound())) quitRequested_ = true;
        return true;
    }
    // The focus the system's question box took is not the player leaving the game. Its events
    // come once the box has gone, before the next frame or, through the X server, a little later.
    const bool afterQuestion = questions_->asked != questionsBeforeFrame_ ||
                               std::chrono::steady_clock::now() - questions_->answeredAt < kFocusAfterQuestion;
    const bool lostFocus = e.type == WindowEvent::Type::FocusLost && pauseOnFocusLoss_ && !afterQuestion;
    if (scene != kSceneGame || !(e.pause || lostFocus)) return false;
    const Texture* caption = manager.services().assets().textures.Get(kPauseCaption);
    if (!held.Pause(settings, manager.services().sound(), caption)) quitRequested_ = true;
    return true;
}
