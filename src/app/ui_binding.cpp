// Dear ImGui through its SDL2 and OpenGL 3 backends.
#include "app/ui_binding.hpp"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include "platform/render/render_device.hpp"
#include "platform/window/window.hpp"

namespace UiBinding {

namespace {
enum class Mode { Off, Window, Headless };
Mode gMode = Mode::Off;
}

bool Init(platform::Window& window) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;  // nothing written beside the game
    ImGui::StyleColorsDark();
    auto* sdlWindow = static_cast<SDL_Window*>(window.NativeHandle());
    if (!ImGui_ImplSDL2_InitForOpenGL(sdlWindow, SDL_GL_GetCurrentContext())) return false;
    if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
        ImGui_ImplSDL2_Shutdown();
        return false;
    }
    window.SetRawEventHook([](const void* e) { HandleEvent(e); });
    gMode = Mode::Window;
    return true;
}

void InitHeadless(int width, int height) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(float(width), float(height));
    io.DeltaTime = 0.016f;  // a fixed frame, so nothing depends on the clock
    // The font atlas must exist before a frame starts; it is never uploaded.
    unsigned char* pixels = nullptr;
    int atlasWidth = 0, atlasHeight = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &atlasWidth, &atlasHeight);
    gMode = Mode::Headless;
}

void HandleEvent(const void* sdlEvent) {
    if (gMode == Mode::Window) ImGui_ImplSDL2_ProcessEvent(static_cast<const SDL_Event*>(sdlEvent));
}

void NewFrame() {
    if (gMode == Mode::Off) return;
    if (gMode == Mode::Window) {
        ImGui_ImplOpenGL3_NewFrame();
        ImGui_ImplSDL2_NewFrame();
    }
    ImGui::NewFrame();
}

void EndFrame(platform::RenderDevice& device, bool draw) {
    if (gMode == Mode::Off) return;
    if (gMode == Mode::Headless) {
        // The overlay's windows are laid out as on the screen; there is nowhere to draw them.
        if (draw)
            ImGui::Render();
        else
            ImGui::EndFrame();
        return;
    }
    if (!draw) {
        ImGui::EndFrame();
        device.SetPresentOverlay(nullptr);
        return;
    }
    // The frame's draw lists are made now; they are drawn into the window at Present, over the
    // scaled picture and at the window's size in points, where the UI's own mouse coordinates
    // fit (the backend scales them to the drawable's pixels on a scaled display).
    ImGui::Render();
    device.SetPresentOverlay([] { ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData()); });
}

void Shutdown() {
    if (gMode == Mode::Off) return;
    if (gMode == Mode::Window) {
        ImGui_ImplOpenGL3_Shutdown();
        ImGui_ImplSDL2_Shutdown();
    }
    gMode = Mode::Off;
    ImGui::DestroyContext();
}

}  // namespace UiBinding
