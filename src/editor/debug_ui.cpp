// The developer overlay.
#include "editor/debug_ui.hpp"

#include <imgui.h>

DebugUi* gDebugUi = nullptr;

void DebugUi::Draw(uint32_t framesPerSecond, int frameCount) {
    if (!enabled || !ImGui::GetCurrentContext()) return;
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
    ImGui::Begin("Frame", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
    ImGui::Text("%u frames per second", framesPerSecond);
    ImGui::Text("frame %d", frameCount);
    ImGui::End();
}
