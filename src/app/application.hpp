// The process-wide application: the window, the frame loop on the game clock, the order of
// start-up and shutdown. It creates the three effects every drawing part uses (their owner is
// GameEffects) and is the host that scenes ask to end the program. In the window each drawn
// frame's input is sampled from the devices (and recorded) before its first update, or every
// update's input is played from a recording; the window switches to full screen and back at any
// time.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "scene/scene_base.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/held_screens.hpp"
#include "app/question_handler.hpp"
#include "app/run_trace.hpp"
#include "platform/input/input_recorder.hpp"
#include "platform/input/script_player.hpp"
#include "platform/settings/settings_file.hpp"
#include "platform/window/window.hpp"
#include "scene/scene_host.hpp"

class SceneManager;

class Application : public SceneHost {
public:
    static Application& Instance();

    // The window (hidden), the full-screen question (unless fullScreenChoice answers it), the
    // device and its default states, the effects, the window shown, the UI binding. Where no
    // system box can be shown, the question is asked in the game's own box once the window is
    // shown. False with the reason in *error when there is no window or no usable device;
    // nothing else may then be called but Shutdown.
    bool Init(int clientWidth, int clientHeight, std::string* error);
    // The same without a window: the null device of this size, its default states, the effects
    // and the UI without drawing. Frames then run through RunFrame, unpaced if so chosen.
    bool InitHeadless(int width, int height, std::string* error);
    // Runs frames until the window is closed, a scene ends the game or a replayed run reaches
    // its end; with unsaved gates in the overlay's editor, closing the window asks first. Returns
    // 0, or 1 when the recording or the trace could not be written in full.
    int Run();
    // What the window's messages do: close, wheel, size, full screen on and off.
    void WindowProc(const platform::WindowEvent& event);
    // The effects, then the device (the window, if any, goes last).
    void Shutdown();

    std::unique_ptr<platform::Window> window;
    int clientWidth = 0;
    int clientHeight = 0;
    bool quitRequested = false;
    bool loopEnded = false;  // set by the loop when it stops, or by a scene that ends the game
    int frameCount = 0;      // updates run so far: the number of the next one
    int wheelDelta = 0;      // this frame's wheel notches x 120; 0 after every Present
    SimpleShader& simpleShader = GameEffects::Instance().simpleShader;
    ModelShader& modelShader = GameEffects::Instance().modelShader;
    BlurFilter& blurFilter = GameEffects::Instance().blurFilter;

    // A scene ends the game: the loop stops after this frame.
    void EndProgram() override { loopEnded = true; }

    // How scenes are made (the game's, or a test's).
    SceneFactory sceneFactory;
    // --dev: the developer overlay is drawn.
    bool developerOverlay = false;
    // The game runs from its installed data, which is not the user's to write.
    bool readOnlyGameFolder = false;
    // The folder the game was started in, before it moved to its data folder: paths the player
    // types are taken from there.
    std::string startFolder;
    // Frames last at least 16 ms; benchmarks switch the wait off to time the work alone.
    bool paceFrames = true;
    // The sound manager opens the sound device; a headless run has nobody to hear it.
    bool soundDevice = true;
    // The window's game clock keeps real time: a frame that took longer than 16 ms is followed by
    // the updates that fell due (at most four). False (--no-frame-skip, or the settings'
    // frame_skip = false): one update per drawn frame.
    bool frameSkip = true;
    bool FrameSkipOn() const { return frameSkip && settings.frameSkip; }
    // The 3D picture's scale (1, 0.75, 0.5 of the window's resolution); none: auto, which is 1 on
    // a graphics card and the largest scale whose frames fit on a software renderer. The command
    // line's (renderScaleGiven) wins over the settings'.
    std::optional<float> renderScale;
    bool renderScaleGiven = false;
    std::optional<float> ChosenRenderScale() const;
    // Frames drawn so far (the window's updates may outnumber them).
    int64_t drawnFrames = 0;
    // --fullscreen or --windowed: the start-up question is answered in advance.
    std::optional<bool> fullScreenChoice;
    // The player's settings as they stand, and the file they came from and go back to (no path:
    // a headless run's defaults, never saved).
    platform::Settings settings;
    platform::SettingsFile settingsFile;
    // A window run's recording, replay and trace (each only when asked for).
    std::unique_ptr<platform::InputRecorder> recorder;
    std::unique_ptr<platform::ScriptPlayer> replay;
    std::unique_ptr<RunTrace> trace;

    // One frame of one update: counter, UI frame, update, draw, listener, overlay, Present,
    // pacing. Works without a window too (headless runs and tests on the null device).
    void RunFrame(SceneManager& manager);

private:
    Application() = default;
    // Between two frames: the pause key or the lost focus in a run holds it on the pause screen;
    // the options key on the title opens the options. No update runs while either shows. True
    // when the game was held.
    bool HoldIfAsked(const platform::WindowEvent& event, SceneManager& manager);
    void PauseRun(SceneManager& manager);
    // The options screen; its changes reach the game at once and the file when it closes.
    // False when the window was closed meanwhile.
    bool RunOptions(SceneManager& manager, bool frozen);
    // Hands the settings to the sound, the look and the devices.
    void ApplyPlayerSettings(SceneManager& manager);
    HeldScreens held_;
    int64_t questionsBeforeFrame_ = 0;  // questions_->asked when the last frame began
    // The input of the update about to run: the devices' sample (the first update of a drawn
    // frame only) or the replay's events. False when the replayed run was closed here.
    bool FeedInput(bool sampleDevices);
    // The drawn frame's counter tick and UI frame; one update; the frame drawn and presented.
    void BeginFrame();
    void RunUpdate(SceneManager& manager);
    void DrawFrame(SceneManager& manager);
    // Whether the window may close now (see Run).
    bool MayClose(SceneManager& manager);
    bool uiReady_ = false;
    std::unique_ptr<QuestionHandler> questions_;
};
