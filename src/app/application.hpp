// The process-wide application: the window, the frame loop on the game clock, the order of
// start-up and shutdown. It creates the three effects every drawing part uses (their owner is
// GameEffects) and is the host that scenes ask to end the program. In the window each drawn
// frame's input is sampled from the devices (and recorded) before its first update, or every
// update's input is played from a recording; the window switches to full screen and back at any
// time, and the held screens (questions, the pause, the options) wait between two frames.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/player_settings.hpp"
#include "app/run_config.hpp"
#include "app/run_trace.hpp"
#include "platform/input/input_recorder.hpp"
#include "platform/input/script_player.hpp"
#include "platform/window/window.hpp"
#include "scene/scene_base.hpp"
#include "scene/scene_host.hpp"
#include "ui/held_run.hpp"
#include "ui/held_screen.hpp"
#include "ui/question_handler.hpp"

class SceneManager;

class Application : public SceneHost {
public:
    static Application& Instance();

    // The window (hidden), the full-screen question (unless the settings answer it), the device
    // and its default states, the effects, the window shown, the UI binding. Where no system box
    // can be shown, the question is asked in the game's own box once the window is shown. False
    // with the reason in *error when there is no window or no usable device; nothing else may
    // then be called but Shutdown.
    bool Init(int clientWidth, int clientHeight, std::string* error);
    // The same without a window: the null device of this size, its default states, the effects
    // and the UI without drawing. Frames then run through RunFrame.
    bool InitHeadless(int width, int height, std::string* error);
    // Runs frames until the window is closed, a scene ends the game or a replayed run reaches
    // its end; with unsaved gates in the overlay's editor, closing the window asks first. Returns
    // 0, or 1 when the recording or the trace could not be written in full.
    int Run();
    // One frame of one update: counter, UI frame, update, draw, listener, overlay, Present,
    // pacing. Works without a window too (headless runs and tests on the null device).
    void RunFrame(SceneManager& manager);
    // What the window's messages do: close, size, full screen on and off.
    void WindowProc(const platform::WindowEvent& event);
    // The effects, then the device (the window, if any, goes last).
    void Shutdown();

    // A scene ends the game: the loop stops after this frame.
    void EndProgram() override { loopEnded = true; }

    // What main or a headless run chose; read when a run starts.
    RunConfig config;
    // The player's settings: the file, the overrides of this run, and who hears of changes.
    PlayerSettings settings;
    // A window run's recording, replay and trace (each only when asked for).
    std::unique_ptr<platform::InputRecorder> recorder;
    std::unique_ptr<platform::ScriptPlayer> replay;
    std::unique_ptr<RunTrace> trace;

    std::unique_ptr<platform::Window> window;
    bool loopEnded = false;  // set by the loop when it stops, or by a scene that ends the game
    int frameCount = 0;      // updates run so far: the number of the next one
    int64_t drawnFrames = 0; // frames drawn so far (the window's updates may outnumber them)

private:
    Application() = default;
    // Between two frames: the pause key or the lost focus in a run holds it on the pause screen;
    // the options key on the title opens the options. No update runs while either shows. True
    // when the game was held.
    bool HoldIfAsked(const platform::WindowEvent& event, SceneManager& manager);
    // The input of the update about to run: the devices' sample (the first update of a drawn
    // frame only) or the replay's events. False when the replayed run was closed here.
    bool FeedInput(bool sampleDevices);
    // The drawn frame's counter tick and UI frame; one update; the frame drawn and presented.
    void BeginFrame();
    void RunUpdate(SceneManager& manager);
    void DrawFrame(SceneManager& manager);
    // Whether the window may close now (see Run).
    bool MayClose(SceneManager& manager);

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool quitRequested_ = false;
    bool uiReady_ = false;
    std::unique_ptr<HeldScreen> screens_;
    std::unique_ptr<QuestionHandler> questions_;
    int64_t questionsBeforeFrame_ = 0;  // questions_->asked when the last frame began
    // Of the effective settings, what the frame loop uses between two changes.
    bool pauseOnFocusLoss_ = true;
};
