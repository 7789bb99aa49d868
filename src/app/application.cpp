// Start-up, the frame loop and shutdown.
#include "app/application.hpp"

#include <chrono>
#include <cstdio>

#include "app/frame_timer.hpp"
#include "app/scene_manager.hpp"
#include "app/ui_binding.hpp"
#include "editor/debug_ui.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/window/clock.hpp"
#include "platform/window/dialogs.hpp"
#include "sound/sound_manager.hpp"

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

    const bool fullScreen = AskYesNo(window.get(), "フルスクリーンにしますか？", "確認", false);
    if (!GraphicsDevice::Instance().Create(*window, clientWidth, clientHeight, SurfaceFormat::X8R8G8B8, fullScreen)) {
        ShowMessage(window.get(), "Direct3D初期化ミス", "", DialogIcon::Error);
        if (error) *error = "no usable OpenGL 3.3 device (with clip control) for the window";
        return false;
    }
    GraphicsDevice::Instance().SetDefaultStates();
    GameEffects::Instance().Create();
    window->Show();
    quitRequested = false;
    loopEnded = false;
    uiReady_ = UiBinding::Init(*window);
    if (!uiReady_) std::fprintf(stderr, "korvelin: the developer overlay could not start\n");
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
    GameEffects::Instance().Create();
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
    if (gSoundManager) gSoundManager->UpdateListener(gd.device->GetTransform(TransformType::View));
    const bool overlay = gDebugUi && gDebugUi->enabled;
    if (overlay) gDebugUi->Draw(FrameTimer::FramesPerSecond(), frameCount);
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

int Application::Run() {
    SceneManager manager(sceneFactory);
    manager.Init();
    for (;;) {
        if (quitRequested) {
            loopEnded = true;
            break;
        }
        if (loopEnded) break;
        WindowEvent event;
        if (window->PollEvent(&event)) {
            WindowProc(event);
            continue;  // the stop flags are tested between every two messages
        }
        RunFrame(manager);
    }
    UiBinding::Shutdown();
    manager.Release();
    return 0;
}

void Application::Shutdown() {
    UiBinding::Shutdown();
    GameEffects::Instance().Release();
    GraphicsDevice::Instance().Release();
    SetInput(nullptr);
    window.reset();
}
