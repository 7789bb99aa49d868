// Start-up, the frame loop and shutdown.
#include "app/application.hpp"

#include <chrono>
#include <cstdio>
#include <utility>

#include "app/frame_timer.hpp"
#include "app/game_clock.hpp"
#include "app/render_scale.hpp"
#include "app/scene_manager.hpp"
#include "app/ui_binding.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/crash/crash_report.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/clock.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/sdl_input.hpp"

using namespace platform;

Application& Application::Instance() {
    static Application instance;
    return instance;
}

bool Application::Init(int width, int height, std::string* error) {
    std::string why;
    window = Window::Create("-KORVELIN-", width, height, &why);
    if (!window) {
        if (error) *error = why;
        return false;
    }
    window->GetClientSize(&clientWidth_, &clientHeight_);
    SetInput(&window->input());
    screens_ = std::make_unique<HeldScreen>(*window);
    questions_ = std::make_unique<QuestionHandler>(*screens_);
    SetDialogHandler([this](const DialogRequest& r) { return questions_->Ask(r); });

    const DialogRequest fullScreenQuestion{Tr("Play in full screen?"), Tr("Confirm"), DialogIcon::Question,
                                           DialogButtons::YesNo, false};
    // The settings (or the command line) may answer the question before it is asked.
    std::optional<bool> fullScreen;
    const FullScreenAtStart atStart = settings.Effective().fullScreen;
    if (atStart != FullScreenAtStart::Ask) fullScreen = atStart == FullScreenAtStart::Yes;
    if (!fullScreen) {
        if (const std::optional<DialogAnswer> answer = questions_->TryAskInSystemBox(fullScreenQuestion))
            fullScreen = *answer == DialogAnswer::Yes;
    }
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gd.Create(*window, clientWidth_, clientHeight_, SurfaceFormat::X8R8G8B8, fullScreen.value_or(false))) {
        ShowMessage(window.get(), Tr("The graphics could not be started"), "", DialogIcon::Error);
        if (error) *error = "no usable OpenGL 3.3 device (with clip control) for the window";
        return false;
    }
    gd.SetDefaultStates();
    if (!GameEffects::Instance().Create()) {
        // Each failure has had its box; a game without its effects would show a black window.
        if (error) *error = "the effect files above would not compile";
        return false;
    }
    window->Show();
    quitRequested_ = false;
    loopEnded = false;
    if (!fullScreen) {
        // No system box could ask: the game asks in its own, on the window now shown.
        fullScreen = questions_->Ask(fullScreenQuestion) == DialogAnswer::Yes;
        if (*fullScreen) gd.SetFullScreen(true);
        quitRequested_ = questions_->closeRequested;
    }
    uiReady_ = UiBinding::Init(*window);
    if (!uiReady_) std::fprintf(stderr, "%s", Tr("korvelin: the developer overlay could not start\n"));
    return true;
}

bool Application::InitHeadless(int width, int height, std::string* error) {
    clientWidth_ = width;
    clientHeight_ = height;
    if (!GraphicsDevice::Instance().CreateNull(width, height)) {
        if (error) *error = "the null render device would not start";
        return false;
    }
    GraphicsDevice::Instance().SetDefaultStates();
    if (!GameEffects::Instance().Create()) {
        if (error) *error = "the effect files above would not compile";
        return false;
    }
    // Nothing is painted: testing which faces the view can show would only cost time.
    GameEffects::Instance().simpleShader.cullOutOfView = false;
    GameEffects::Instance().modelShader.cullOutOfView = false;
    quitRequested_ = false;
    loopEnded = false;
    UiBinding::InitHeadless(width, height);
    uiReady_ = true;
    return true;
}

void Application::WindowProc(const WindowEvent& e) {
    switch (e.type) {
        case WindowEvent::Type::Size:
            clientWidth_ = e.width;
            clientHeight_ = e.height;
            break;
        case WindowEvent::Type::Close: quitRequested_ = true; break;
        case WindowEvent::Type::ToggleFullscreen:
            if (window) GraphicsDevice::Instance().SetFullScreen(!window->IsFullscreen());
            break;
        default: break;
    }
}

void Application::RunFrame(SceneManager& manager) {
    const auto start = std::chrono::steady_clock::now();
    BeginFrame();
    RunUpdate(manager);
    DrawFrame(manager);
    // At least 16 ms a frame, slept to the deadline so the game runs at 62.5 frames a second.
    if (config.paceFrames) SleepUntil(start + std::chrono::milliseconds(FramePacing::kFrameMs));
}

void Application::BeginFrame() {
    FrameTimer::Tick();
    UiBinding::NewFrame();
}

void Application::RunUpdate(SceneManager& manager) {
    // A crash report says where the game stood.
    SetCrashState(manager.scene ? SceneName(manager.scene->sceneId) : nullptr, frameCount);
    manager.Update();
    ++frameCount;
}

void Application::DrawFrame(SceneManager& manager) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    manager.Draw();
    GameServices& services = manager.services();
    services.sound().UpdateListener(gd.device->GetTransform(TransformType::View));
    const bool overlay = services.overlay().enabled;
    // The overlay shows the number of the update just run.
    if (overlay) services.overlay().Draw(FrameTimer::FramesPerSecond(), frameCount - 1);
    if (gd.device->BeginScene()) {
        UiBinding::EndFrame(*gd.device, overlay);
        gd.device->EndScene();
    } else {
        UiBinding::EndFrame(*gd.device, false);
    }
    // In pixels: on a scaled display the window's size in points would fill only part of it.
    int w = clientWidth_, h = clientHeight_;
    if (window) window->GetDrawableSize(&w, &h);
    gd.device->Present(w, h);
    ++drawnFrames;
}

bool Application::FeedInput(bool sampleDevices) {
    ScriptedInput& input = window->input();
    if (!replay) {
        // Live input is sampled once a drawn frame: its events go to the frame's first update.
        if (!sampleDevices) return true;
        std::vector<InputEvent> fed;
        window->devices().Feed(frameCount, input, recorder.get(), &fed);
        for (const InputEvent& e : fed) NoteCrashInput(FormatInputEvent(e));
        return true;
    }
    // Sampled all the same, so what the devices did meanwhile is not kept for later.
    std::vector<InputEvent> ignored;
    if (sampleDevices) window->devices().Sample(frameCount, input, &ignored);
    return replay->Apply(frameCount, input);
}

// Gates placed in the overlay and never saved would go with the process: closing the window
// asks first, and staying keeps them. The window's close is no part of a recorded run, so its
// answer is not recorded either; a replayed run's window closes at once.
bool Application::MayClose(SceneManager& manager) {
    if (replay) return true;
    // Closing the only window queues a quit behind the close: that one is this request too, and
    // a quit waiting would keep the question from being shown (and answer it with the default).
    if (window) window->ForgetWaitingQuit();
    platform::InputRecorder* const recording = std::exchange(questions_->recorder, nullptr);
    const bool yes = manager.services().overlay().MayQuit();
    questions_->recorder = recording;
    return yes;
}

int Application::Run() {
    SceneManager manager(config);
    manager.Init();
    if (trace)
        manager.SetUpdateObserver([this](const SceneBase* scene) { trace->Write(frameCount, drawnFrames, scene, true); });
    questions_->recorder = recorder.get();
    questions_->replay = replay.get();
    questions_->running = true;
    // The developer overlay builds its panels within the update, and the UI takes one set of
    // panels a drawn frame: with the overlay shown, every drawn frame runs one update.
    const bool overlay = manager.services().overlay().enabled;
    GameClock clock(false);
    // A software renderer is named with the scale chosen; `auto` measures the first frames.
    const std::string renderer = GraphicsDevice::Instance().device->RendererName();
    const bool software = IsSoftwareRenderer(renderer);
    std::optional<std::optional<float>> scale;  // the scale in use, once chosen (inside, none: auto)
    std::optional<AutoRenderScale> choosing;
    const auto useScale = [&](std::optional<float> chosen) {
        scale = chosen;
        manager.pipeline().SetRenderScale(chosen.value_or(1.0f));
        choosing.reset();
        if (software && !chosen) choosing.emplace();
        if (software && chosen)
            std::fprintf(stderr, Tr("korvelin: software renderer %s: render scale %g\n"), renderer.c_str(), *chosen);
    };
    // Every user of a setting hears them all now, and what changed after every change on the
    // options screen, which counts at once, also in a paused run.
    const PlayerSettings::Subscription heard[] = {
        settings.Listen([&](const Settings& s, SettingChanges changed) { manager.ApplySettings(s, changed); }),
        settings.Listen([&](const Settings& s, SettingChanges changed) {
            if (changed.Has(SettingGroup::Controls) || changed.Has(SettingGroup::Look))
                ApplyToDevices(s, window->devices());
        }),
        settings.Listen([&](const Settings& s, SettingChanges changed) {
            SetCrashSettings(SettingsInBrief(s));
            if (changed.Has(SettingGroup::Play)) pauseOnFocusLoss_ = s.pauseOnFocusLoss;
            if (!changed.Has(SettingGroup::Display)) return;
            clock.SetFrameSkip(s.frameSkip && !overlay);
            const std::optional<float> wanted =
                s.renderScale ? std::optional<float>(float(*s.renderScale)) : std::nullopt;
            if (!scale || *scale != wanted) useScale(wanted);
        }),
    };
    const auto begin = std::chrono::steady_clock::now();
    for (;;) {
        if (quitRequested_ || questions_->closeRequested) {
            if (MayClose(manager)) {
                loopEnded = true;
                break;
            }
            quitRequested_ = questions_->closeRequested = false;
        }
        if (loopEnded) break;
        WindowEvent event;
        if (window->PollEvent(&event)) {
            WindowProc(event);
            // The time spent paused or in the options is not made up afterwards.
            if (HoldIfAsked(event, manager)) clock.Restart(std::chrono::steady_clock::now());
            continue;  // the stop flags are tested between every two messages
        }
        const auto frameStart = std::chrono::steady_clock::now();
        const int due = clock.UpdatesDue(frameStart);
        const int64_t asked = questions_->asked;
        questionsBeforeFrame_ = asked;
        int ran = 0;
        // A question stops the frame's updates: the game stood still while it waited.
        for (; ran < due && !loopEnded && !questions_->closeRequested && questions_->asked == asked; ++ran) {
            questions_->frame = frameCount;
            // A replay holds every update's events; the devices are sampled once a frame.
            if (!FeedInput(ran == 0)) {
                loopEnded = true;  // the replayed run was closed before this update
                break;
            }
            if (ran == 0) BeginFrame();
            RunUpdate(manager);
        }
        if (ran == 0) continue;  // the loop's top ends it, or asks before the window closes
        DrawFrame(manager);
        const auto frameEnd = std::chrono::steady_clock::now();
        // The game stood still while a question waited for its answer: that time is not made up.
        if (questions_->asked != asked) clock.Restart(frameEnd);
        if (choosing && questions_->asked == asked) {
            const bool chosen = choosing->Feed(std::chrono::duration<double, std::milli>(frameEnd - frameStart).count());
            manager.pipeline().SetRenderScale(choosing->scale());
            if (chosen) {
                std::fprintf(stderr, Tr("korvelin: software renderer %s: render scale auto, %g\n"), renderer.c_str(),
                             choosing->scale());
                choosing.reset();
            }
        }
        if (config.paceFrames) SleepUntil(clock.NextFrame());
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;
    questions_->running = false;
    UiBinding::Shutdown();
    manager.Release();

    int status = 0;
    std::string error;
    if (recorder && !recorder->Finish(frameCount, &error)) {
        std::fprintf(stderr, "korvelin: %s\n", error.c_str());
        status = 1;
    }
    if (trace && !trace->Close(&error)) {
        std::fprintf(stderr, "korvelin: %s\n", error.c_str());
        status = 1;
    }
    // A traced run says how fast it played: updates (game time) and drawn frames, per second of
    // the wall clock.
    if (trace) WriteWindowSummary(frameCount, drawnFrames, elapsed.count());
    return status;
}

void Application::Shutdown() {
    UiBinding::Shutdown();
    if (questions_) SetDialogHandler(nullptr);
    if (screens_) screens_->Release();
    GameEffects::Instance().Release();
    GraphicsDevice::Instance().Release();
    SetInput(nullptr);
    questions_.reset();
    screens_.reset();
    window.reset();
}
