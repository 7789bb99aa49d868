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
bool gReady = false;
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
    gReady = true;
    return true;
}

void HandleEvent(const void* sdlEvent) {
    if (gReady) ImGui_ImplSDL2_ProcessEvent(static_cast<const SDL_Event*>(sdlEvent));
}

void NewFrame() {
    if (!gReady) return;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void EndFrame(platform::RenderDevice& device, bool draw) {
    if (!gReady) return;
    if (!draw) {
        ImGui::EndFrame();
        device.SetPresentOverlay(nullptr);
        return;
    }
    // The frame's draw lists are made now; they are drawn into the window at Present, over the
    // scaled picture and at the window's size, where the UI's own mouse coordinates fit.
    ImGui::Render();
    device.SetPresentOverlay([] { ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData()); });
}

void Shutdown() {
    if (!gReady) return;
    gReady = false;
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
}

}  // namespace UiBinding
