// A real Dear ImGui context without a window: frames run on demand, and the driver finds a
// widget by hovering over the window until the UI reports it, then clicks, drags or types
// into it as a person would.
#pragma once

#include <imgui.h>
#include <imgui_internal.h>

#include <functional>
#include <optional>
#include <string>

class UiDriver {
public:
    // `frame` issues the windows of one frame.
    explicit UiDriver(std::function<void()> frame) : frame_(std::move(frame)) {
        context_ = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2(1280, 720);
        io.IniFilename = nullptr;
        unsigned char* pixels = nullptr;
        int w = 0, h = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
        io.KeyMap[ImGuiKey_Enter] = kEnter;
        io.KeyMap[ImGuiKey_A] = kSelectAll;
    }
    ~UiDriver() { ImGui::DestroyContext(context_); }

    void Frame() {
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = 1.0f / 60.0f;
        ImGui::NewFrame();
        frame_();
        ImGui::Render();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Where a widget of a window (or of its child) is: the mouse sweeps the window until the
    // widget is hovered, turning the wheel over it between sweeps when the widget lies below.
    std::optional<ImVec2> Find(const char* window, const char* label, bool inChild = false) {
        return FindId(window, inChild, [label](ImGuiWindow* w) { return w->GetID(label); });
    }
    // Where a menu of a window's menu bar is ("File"); its items are then in "##Menu_00".
    std::optional<ImVec2> FindMenu(const char* window, const char* label) {
        return FindId(window, false,
                      [label](ImGuiWindow* w) { return ImHashStr(label, 0, ImHashStr("##menubar", 0, w->ID)); });
    }
    // Clicks a menu of the window's menu bar, then one of its items.
    bool ChooseMenuItem(const char* window, const char* menu, const char* item) {
        const std::optional<ImVec2> at = FindMenu(window, menu);
        if (!at) return false;
        Click(*at);
        const std::optional<ImVec2> itemAt = Find("##Menu_00", item);
        if (!itemAt) return false;
        Click(*itemAt);
        return true;
    }

private:
    template <typename IdOf>
    std::optional<ImVec2> FindId(const char* window, bool inChild, IdOf idOf) {
        for (int sweep = 0; sweep < 4; ++sweep) {
            Frame();
            ImGuiWindow* w = Window(window, inChild);
            if (!w) return std::nullopt;
            const ImGuiID id = idOf(w);
            const ImRect r = w->Rect();
            for (float y = r.Min.y + 2; y < r.Max.y; y += 3)
                for (float x = r.Min.x + 12; x < r.Max.x; x += 40) {
                    ImGui::GetIO().MousePos = ImVec2(x, y);
                    Frame();
                    if (ImGui::GetCurrentContext()->HoveredId == id) return ImVec2(x, y);
                }
            ImGuiIO& io = ImGui::GetIO();
            io.MousePos = r.GetCenter();
            io.MouseWheel = -3.0f;
            Frame();
            io.MouseWheel = 0.0f;
        }
        return std::nullopt;
    }

public:
    // Presses at a point for one frame and releases in the next.
    void Click(ImVec2 at) {
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = at;
        io.MouseDown[0] = true;
        Frame();
        io.MouseDown[0] = false;
        Frame();
    }
    // Presses at a point and drags far to the right before letting go.
    void DragRight(ImVec2 at) {
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = at;
        io.MouseDown[0] = true;
        Frame();
        io.MousePos = ImVec2(at.x + 2000, at.y);
        Frames(2);
        io.MouseDown[0] = false;
        Frame();
    }
    // Ctrl+click turns a slider into a text field (and focuses a text field); the typed text
    // replaces its value, and Return ends the typing.
    void Type(ImVec2 at, const std::string& text) {
        ImGuiIO& io = ImGui::GetIO();
        io.KeyCtrl = true;
        Click(at);
        io.KeysDown[kSelectAll] = true;  // Ctrl+A selects the old value
        Frame();
        io.KeysDown[kSelectAll] = false;
        io.KeyCtrl = false;
        for (char c : text) io.AddInputCharacter(static_cast<unsigned>(c));
        Frame();
        io.KeysDown[kEnter] = true;
        Frame();
        io.KeysDown[kEnter] = false;
        Frame();
        // A click on nothing ends the editing, as a person would.
        Click(ImVec2(1270, 710));
    }

private:
    static ImGuiWindow* Window(const char* name, bool inChild) {
        ImGuiWindow* w = ImGui::FindWindowByName(name);
        if (!w || !inChild) return w;
        for (ImGuiWindow* c : ImGui::GetCurrentContext()->Windows)
            if (c->ParentWindow == w && (c->Flags & ImGuiWindowFlags_ChildWindow) && c->Active) return c;
        return nullptr;
    }

    static constexpr int kEnter = 1, kSelectAll = 2;
    std::function<void()> frame_;
    ImGuiContext* context_ = nullptr;
};
