// Start-up, the frame loop and shutdown.
#include "app/application.hpp"

#include <chrono>
#include <cstdio>

#include "app/frame_timer.hpp"
#include "app/scene_manager.hpp"
#include "app/ui_binding.hpp"
#include "graphics/graphics_device.hpp"
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
    window->GetClientSize(&clientWidth, &clientHeight);
    SetInput(&window->input());
    questions_ = std::make_unique<QuestionHandler>(*window);
    SetDialogHandler([this](const DialogRequest& r) { return questions_->Ask(r); });

    const DialogRequest fullScreenQuestion{Tr("Play in full screen?"), Tr("Confirm"), DialogIcon::Question,
                                           DialogButtons::YesNo, false};
    std::optional<bool> fullScreen = fullScreenChoice;
    if (!fullScreen) {
        if (const std::optional<DialogAnswer> answer = questions_->TryAskInSystemBox(fullScreenQuestion))
            fullScreen = *answer == DialogAnswer::Yes;
    }
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gd.Create(*window, clientWidth, clientHeight, SurfaceFormat::X8R8G8B8, fullScreen.value_or(false))) {
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
    quitRequested = false;
    loopEnded = false;
    if (!fullScreen) {
        // No system box could ask: the game asks in its own, on the window now shown.
        fullScreen = questions_->Ask(fullScreenQuestion) == DialogAnswer::Yes;
        if (*fullScreen) gd.SetFullScreen(true);
        quitRequested = questions_->closeRequested;
    }
    uiReady_ = UiBinding::Init(*window);
    if (!uiReady_) std::fprintf(stderr, "%s", Tr("korvelin: the developer overlay could not start\n"));
    return true;
}

bool Application::InitHeadless(int width, int height, std::string* error) {
    clientWidth = width;
    clientHeight = height;
    if (!GraphicsDevice::Instance().CreateNull(width, height)) {
        if (error) *error = "the null render device would not start";
        return false;
    }
    GraphicsDevice::Instance().SetDefaultStates();
    if (!GameEffects::Instance().Create()) {
        if (error) *error = "the effect files above would not compile";
        return false;
    }
    quitRequested = false;
    loopEnded = false;
    UiBinding::InitHeadless(width, height);
    uiReady_ = true;
    return true;
}

void Application::WindowProc(const WindowEvent& e) {
    switch (e.type) {
        case WindowEvent::Type::Size:
            clientWidth = e.width;
            clientHeight = e.height;
            break;
        case WindowEvent::Type::Close: quitRequested = true; break;
        case WindowEvent::Type::Wheel: wheelDelta = e.wheelDelta; break;
        case WindowEvent::Type::ToggleFullscreen:
            if (window) GraphicsDevice::Instance().SetFullScreen(!window->IsFullscreen());
            break;
        default: break;
    }
}

void Application::RunFrame(SceneManager& manager) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const auto start = std::chrono::steady_clock::now();
    FrameTimer::Tick();
    UiBinding::NewFrame();
    manager.Update();
    manager.Draw();
    GameServices& services = manager.services();
    services.sound().UpdateListener(gd.device->GetTransform(TransformType::View));
    const bool overlay = services.overlay().enabled;
    if (overlay) services.overlay().Draw(FrameTimer::FramesPerSecond(), frameCount);
    if (gd.device->BeginScene()) {
        UiBinding::EndFrame(*gd.device, overlay);
        gd.device->EndScene();
    } else {
        UiBinding::EndFrame(*gd.device, false);
    }
    // In pixels: on a scaled display the window's size in points would fill only part of it.
    int w = clientWidth, h = clientHeight;
    if (window) window->GetDrawableSize(&w, &h);
    gd.device->Present(w, h);
    wheelDelta = 0;
    // At least 16 ms a frame, slept to the deadline so the game runs at 62.5 frames a second.
    if (paceFrames) SleepUntil(start + std::chrono::milliseconds(FramePacing::kFrameMs));
    ++frameCount;
}

bool Application::FeedInput() {
    ScriptedInput& input = window->input();
    if (!replay) {
        window->devices().Feed(frameCount, input, recorder.get());
        return true;
    }
    // Sampled all the same, so what the devices did meanwhile is not kept for later.
    std::vector<InputEvent> ignored;
    window->devices().Sample(frameCount, input, &ignored);
    return replay->Apply(frameCount, input);
}

int Application::Run() {
    SceneManager manager(sceneFactory);
    manager.Init();
    if (trace) manager.SetUpdateObserver([this](const SceneBase* scene) { trace->Write(frameCount, scene, true); });
    questions_->recorder = recorder.get();
    questions_->replay = replay.get();
    questions_->running = true;
    for (;;) {
        if (quitRequested || questions_->closeRequested) {
            loopEnded = true;
            break;
        }
        if (loopEnded) break;
        WindowEvent event;
        if (window->PollEvent(&event)) {
            WindowProc(event);
            continue;  // the stop flags are tested between every two messages
        }
        questions_->frame = frameCount;
        if (!FeedInput()) {
            loopEnded = true;  // the replayed run was closed before this frame
            break;
        }
        RunFrame(manager);
    }
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
    return status;
}

void Application::Shutdown() {
    UiBinding::Shutdown();
    if (questions_) {
        questions_->Release();
        SetDialogHandler(nullptr);
    }
    GameEffects::Instance().Release();
    GraphicsDevice::Instance().Release();
    SetInput(nullptr);
    questions_.reset();
    window.reset();
}
