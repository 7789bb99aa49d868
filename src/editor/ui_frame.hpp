// Whether the overlay may issue windows now.
#pragma once

#include <imgui.h>
#include <imgui_internal.h>

// Windows may be issued only between the UI frame's start and its end; headless runs and tools
// have no UI at all.
inline bool InUiFrame() {
    const ImGuiContext* context = ImGui::GetCurrentContext();
    return context && context->WithinFrameScope;
}
