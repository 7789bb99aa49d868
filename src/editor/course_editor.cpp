// The course editor inside the "DebugState" window: gates placed where the player flies, the
// edit panel for the selected one, saving and loading, and the markers drawn in the world.
#include <imgui.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "course/course_rules.hpp"
#include "editor/debug_ui.hpp"
#include "editor/ui_frame.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/model_cache.hpp"

namespace {

const ImVec4 kTitleActive(0.0f, 0.7f, 0.2f, 1.0f);
const ImVec4 kTitle(0.0f, 0.3f, 0.1f, 1.0f);
const ImVec4 kFailure(1.0f, 0.35f, 0.3f, 1.0f);

}  // namespace

const char* CheckpointMarkerModel(int kind, int enemyNo) {
    const bool main = enemyNo == 0;
    switch (kind) {
        case checkpoint_kind::kStart: return main ? "data/model/CheckPointS.x" : "data/model/CheckPointS2.x";
        case checkpoint_kind::kPlain: return main ? "data/model/CheckPoint.x" : "data/model/CheckPoint2.x";
        case checkpoint_kind::kEnd: return main ? "data/model/CheckPointE.x" : "data/model/CheckPointE2.x";
        case checkpoint_kind::kTrigger: return main ? "data/model/CheckPointSP.x" : nullptr;
        default: return nullptr;
    }
}

void DebugUi::Release() {
    checkpoints.clear();
    checkpoints.shrink_to_fit();
}

void DebugUi::ShowState(const Matrix& playerWorld, const FlyKeys& keys) {
    if (!enabled || !InUiFrame()) return;
    // Wide enough for its sliders the first time; the user may move and size it after.
    ImGui::SetNextWindowPos(ImVec2(10, 90), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(360, 400), ImGuiCond_FirstUseEver);
    ImGui::PushStyleColor(ImGuiCol_TitleBgActive, kTitleActive);
    ImGui::PushStyleColor(ImGuiCol_TitleBg, kTitle);
    ImGui::Begin("DebugState", nullptr, ImGuiWindowFlags_MenuBar);
    EditorWindow(playerWorld, keys);
    ImGui::End();
    ImGui::PopStyleColor();
    ImGui::PopStyleColor();
}

void DebugUi::EditorWindow(const Matrix& playerWorld, const FlyKeys& keys) {
    for (auto& cp : checkpoints) cp->UpdateEditedWorld();
    if (ImGui::BeginMenuBar()) {
        if (ImGui::BeginMenu("File", true)) {
            if (ImGui::MenuItem("Save")) Save();
            if (ImGui::MenuItem("Load")) Load();
            ImGui::EndMenu();
        }
        ImGui::EndMenuBar();
    }
    if (!fileMessage.empty()) {
        // Wrapped: the message names a whole path, often wider than the window.
        if (fileFailed) ImGui::PushStyleColor(ImGuiCol_Text, kFailure);
        ImGui::TextWrapped("%s", fileMessage.c_str());
        if (fileFailed) ImGui::PopStyleColor();
    }
    if (ImGui::Button("GroupSet")) ++groupLimit;
    ImGui::SliderInt("CPGroup", &currentGroup, 0, groupLimit, "%d");
    ImGui::SliderInt("CPID", &currentKind, 0, 3, "%d");

    // One record per click or per press of Space, however long it is held.
    const bool set = ImGui::Button("Set");
    if (set || keys.place) {
        if (!placeLatch) {
            auto record = std::make_unique<CheckPoint>();
            record->Place(currentKind, currentGroup, playerWorld);
            checkpoints.push_back(std::move(record));
            placeLatch = 1;
        }
    } else {
        placeLatch = 0;
    }
    if (checkpoints.empty())
        gateWarning.clear();
    else
        EditPanel();
}

void DebugUi::EditPanel() {
    const int count = static_cast<int>(checkpoints.size());
    selectedIndex = std::clamp(selectedIndex, 0, count - 1);
    ImGui::Text("CPoint[%d]", selectedIndex);
    ImGui::SliderInt("##CPoint", &selectedIndex, 0, count - 1, "%d");
    selectedIndex = std::clamp(selectedIndex, 0, count - 1);
    CheckPoint& cp = *checkpoints[static_cast<size_t>(selectedIndex)];

    ImGui::BeginChild(ImGui::GetID(static_cast<const void*>(nullptr)), ImVec2(250, 100), true, 0);
    ImGui::Text("CPID:%d", cp.kind);
    int x = cp.offset[0], y = cp.offset[1], z = cp.offset[2];
    float sx = cp.scale[0], sy = cp.scale[1], sz = cp.scale[2];
    ImGui::SliderInt("x", &x, -100, 100, "%d");
    ImGui::SliderInt("y", &y, -100, 100, "%d");
    ImGui::SliderInt("z", &z, -100, 100, "%d");
    ImGui::SliderFloat("sx", &sx, 0.1f, 10.0f, "%.3f");
    ImGui::SliderFloat("sy", &sy, 0.1f, 10.0f, "%.3f");
    ImGui::SliderFloat("sz", &sz, 0.1f, 10.0f, "%.3f");
    ImGui::EndChild();
    // Scales are stored as whole numbers: fractions show while dragging, and below 1 is a flat 0.
    cp.SetOffsetScale(x, y, z, static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sz));
    // A main-course gate the craft could never pass is said at once, not when the course is played.
    cp.UpdateEditedWorld();
    const std::string problem = cp.enemyNo == 0 ? GateMatrixProblem(cp.editedWorld) : std::string();
    gateWarning = problem.empty() ? problem
                                  : "CPoint[" + std::to_string(selectedIndex) + "]: " + problem +
                                        "; the game refuses a course with this gate";
    if (!gateWarning.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, kFailure);
        ImGui::TextWrapped("%s", gateWarning.c_str());
        ImGui::PopStyleColor();
    }

    if (ImGui::Button("Clear")) {
        checkpoints.erase(checkpoints.begin() + selectedIndex);
        // The record before it stays selected; with none left the panel goes.
        selectedIndex = std::max(0, static_cast<int>(checkpoints.size()) - 1);
    }
}

bool DebugUi::Save() {
    namespace fs = std::filesystem;
    std::string target = saveFile, error;
    const bool elsewhere = gameFolderReadOnly || !platform::CanWriteInto(fs::path(saveFile).parent_path());
    if (elsewhere) {
        std::error_code ec;
        if (userFolder.empty())
            error = "the game's folder is read-only, and neither XDG_DATA_HOME nor HOME names a folder of yours";
        else if (fs::create_directories(userFolder, ec); ec)
            error = "cannot create " + userFolder + ": " + ec.message();
        target = (fs::path(userFolder) / fs::path(saveFile).filename()).string();
    }
    fileFailed = !(error.empty() && SaveCourse(checkpoints, target, &error));
    fileMessage = fileFailed ? "Save failed: " + error
                             : "Saved " + std::to_string(checkpoints.size()) + " records to " + target +
                                   (elsewhere ? " (the game's folder is read-only)" : "");
    return !fileFailed;
}

bool DebugUi::Load() {
    CourseList loaded;
    const CourseLoadReport report = LoadCourse(loadFile, loaded);
    fileFailed = !report.Ok();
    if (fileFailed) {
        fileMessage = "Load failed, the records are kept: " + report.message;
        return false;
    }
    checkpoints = std::move(loaded);
    selectedIndex = std::clamp(selectedIndex, 0, std::max(0, static_cast<int>(checkpoints.size()) - 1));
    fileMessage = "Loaded " + std::to_string(checkpoints.size()) + " records from " + loadFile;
    return true;
}

void DebugUi::DrawCheckpoints(ModelCache& models) const {
    if (!enabled || checkpoints.empty()) return;
    SimpleShader& shader = GameEffects::Instance().simpleShader;
    for (const auto& cp : checkpoints) {
        const char* model = CheckpointMarkerModel(cp->kind, cp->enemyNo);
        if (!model) continue;
        shader.Draw(models.Get(model), cp->editedWorld);
    }
}
