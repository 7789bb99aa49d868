// The course editor's files: the File menu (Save and Load of the game's own files, Open and
// Save as of any), the dialog that takes a typed path and offers the recent courses, and the
// question asked before unsaved gates would be lost.
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "editor/debug_ui.hpp"
#include "editor/ui_frame.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/files/user_path.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/dialogs.hpp"

namespace fs = std::filesystem;

namespace {

const ImVec4 kFailure(1.0f, 0.35f, 0.3f, 1.0f);
const ImVec4 kNote(1.0f, 0.75f, 0.3f, 1.0f);
constexpr float kPathWidth = 440.0f;

const char* DialogTitle(bool open) { return open ? "Open course" : "Save course as"; }

}  // namespace

std::string DebugUi::RecentCoursesFile() {
    const std::string folder = platform::UserStateFolder();
    return folder.empty() ? std::string() : (fs::path(folder) / "recent-courses").string();
}

std::string DebugUi::Shown(const std::string& path) const { return platform::ShortUserPath(path, home); }

std::string DebugUi::WindowTitle() const {
    std::string title = "DebugState";
    if (!courseFile.empty()) title += " - " + courseFile;
    if (unsaved) title += " *";
    return title + "###DebugState";  // the window stays the same one whatever its title says
}

// Read between frames too: the UI decides at each frame's start who has the keyboard.
bool DebugUi::TakesKeyboard() const {
    return enabled && ImGui::GetCurrentContext() && ImGui::GetIO().WantCaptureKeyboard;
}

const char* DebugUi::DialogShown() const {
    return dialog_ == FileDialog::Open ? "open" : dialog_ == FileDialog::SaveAs ? "save as" : "";
}

bool DebugUi::Failed(const std::string& message) {
    fileFailed = true;
    fileMessage = message;
    return false;
}

namespace {

// The question with the course's name put in for %s (the name may hold any character).
std::string WithName(const char* question, const std::string& name) {
    std::string text = question;
    if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
    return text;
}

}  // namespace

bool DebugUi::MayDiscard(const std::string& question) {
    if (!unsaved) return true;
    return platform::AskYesNo(GraphicsDevice::Instance().window, question, platform::Tr("Confirm"), false);
}

bool DebugUi::MayQuit() {
    return !enabled || MayDiscard(platform::Tr("The gates have unsaved changes.\nQuit and lose them?"));
}

void DebugUi::TakeRecords(CourseList records, const std::string& path) {
    checkpoints = std::move(records);
    selectedIndex = std::clamp(selectedIndex, 0, std::max(0, static_cast<int>(checkpoints.size()) - 1));
    courseFile = Shown(path);
    unsaved = false;
    fileFailed = false;
    fileMessage = "Loaded " + std::to_string(checkpoints.size()) + " records from " + path;
}

DebugUi::SaveTarget DebugUi::WhereSaveGoes() const {
    SaveTarget target{saveFile, false, {}};
    if (!gameFolderReadOnly && platform::CanWriteInto(fs::path(saveFile).parent_path())) return target;
    target.userFolder = true;
    if (userFolder.empty()) {
        target.path.clear();
        target.error = "the game's folder is read-only, and neither XDG_DATA_HOME nor HOME names a folder of yours";
    } else {
        target.path = (fs::path(userFolder) / fs::path(saveFile).filename()).string();
    }
    return target;
}

bool DebugUi::Save() {
    const SaveTarget target = WhereSaveGoes();
    std::string error = target.error;
    std::error_code ec;
    if (error.empty() && target.userFolder && (fs::create_directories(userFolder, ec), ec))
        error = "cannot create " + userFolder + ": " + ec.message();
    if (!error.empty() || !SaveCourse(checkpoints, target.path, &error)) return Failed("Save failed: " + error);
    fileFailed = false;
    fileMessage = "Saved " + std::to_string(checkpoints.size()) + " records to " + target.path +
                  (target.userFolder ? " (the game's folder is read-only)" : "");
    courseFile = Shown(target.path);
    unsaved = false;
    return true;
}

bool DebugUi::Load() {
    CourseList loaded;
    const CourseLoadReport report = LoadCourse(loadFile, loaded);
    if (!report.Ok()) return Failed("Load failed, the records are kept: " + report.message);
    if (!MayDiscard(WithName(platform::Tr("The gates have unsaved changes.\nLoad %s and lose them?"), loadFile))) {
        fileFailed = false;
        fileMessage = "Not loaded: the records are kept";
        return false;
    }
    TakeRecords(std::move(loaded), loadFile);
    return true;
}

bool DebugUi::OpenCourse(const std::string& typed) {
    std::string error;
    const std::string path = platform::ExpandUserPath(typed, startFolder, home, &error);
    if (path.empty()) return Failed("Open failed: " + error);
    std::error_code ec;
    if (fs::is_directory(path, ec)) return Failed("Open failed: " + path + " is a folder");
    CourseList loaded;
    const CourseLoadReport report = LoadCourse(path, loaded);
    if (!report.Ok()) return Failed("Open failed, the records are kept: " + report.message);
    if (!MayDiscard(WithName(platform::Tr("The gates have unsaved changes.\nOpen %s and lose them?"), Shown(path)))) {
        fileFailed = false;
        fileMessage = "Not opened: the records are kept";
        return false;
    }
    TakeRecords(std::move(loaded), path);
    Remember(path);
    return true;
}

bool DebugUi::SaveCourseAs(const std::string& typed, bool overwrite) {
    std::string error;
    const std::string path = platform::ExpandUserPath(typed, startFolder, home, &error);
    if (path.empty()) return Failed("Save failed: " + error);
    std::error_code ec;
    if (fs::is_directory(path, ec)) return Failed("Save failed: " + path + " is a folder");
    if (fs::exists(path, ec) && !overwrite) {
        overwriteAsked_ = path;
        return Failed(path + " exists: Replace writes over it");
    }
    const fs::path folder = fs::path(path).parent_path();
    if (fs::create_directories(folder, ec); ec) return Failed("Save failed: cannot create " + folder.string() + ": " + ec.message());
    if (!SaveCourse(checkpoints, path, &error)) return Failed("Save failed: " + error);
    overwriteAsked_.clear();
    fileFailed = false;
    fileMessage = "Saved " + std::to_string(checkpoints.size()) + " records to " + path;
    courseFile = Shown(path);
    unsaved = false;
    Remember(path);
    return true;
}

void DebugUi::Remember(const std::string& path) {
    if (!recentCourses.Add(path)) fileMessage += " (" + recentCourses.message() + ")";
}

void DebugUi::FileMenu() {
    if (!ImGui::BeginMenuBar()) return;
    if (ImGui::BeginMenu("File", true)) {
        // Save and Load are the game's own files; the menu says which.
        const SaveTarget target = WhereSaveGoes();
        const std::string saveShown = target.path.empty() ? "nowhere" : Shown(target.path);
        if (ImGui::MenuItem("Save", saveShown.c_str())) Save();
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Writes the gates to %s", saveShown.c_str());
        if (ImGui::MenuItem("Load", loadFile.c_str())) Load();
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Reads the gates from %s", loadFile.c_str());
        ImGui::Separator();
        const bool open = ImGui::MenuItem("Open...");
        const bool saveAs = ImGui::MenuItem("Save as...");
        if (open || saveAs) {
            dialog_ = open ? FileDialog::Open : FileDialog::SaveAs;
            dialogOpening_ = true;
        }
        ImGui::EndMenu();
    }
    ImGui::EndMenuBar();
}

void DebugUi::FileDialogWindow() {
    if (dialog_ == FileDialog::None) return;
    const bool opening = dialog_ == FileDialog::Open;
    const char* title = DialogTitle(opening);
    if (dialogOpening_) {
        dialogOpening_ = false;
        // The last course opened or saved is offered first.
        recentCourses.Load();
        if (!recentCourses.message().empty()) std::fprintf(stderr, "korvelin: %s\n", recentCourses.message().c_str());
        pathField_ = recentCourses.paths().empty() ? std::string() : Shown(recentCourses.paths().front());
        overwriteAsked_.clear();
        fileMessage.clear();
        fileFailed = false;
        ImGui::OpenPopup(title);
    }
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(display.x * 0.5f, 60), ImGuiCond_Appearing, ImVec2(0.5f, 0));
    if (!ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
        dialog_ = FileDialog::None;
        return;
    }
    ImGui::Text("Path (from %s, ~ for your home):", Shown(startFolder.empty() ? "." : startFolder).c_str());
    if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
    ImGui::SetNextItemWidth(kPathWidth);
    bool act = ImGui::InputText("##path", &pathField_, ImGuiInputTextFlags_EnterReturnsTrue);
    if (ImGui::IsItemEdited()) overwriteAsked_.clear();

    const std::vector<std::string>& recent = recentCourses.paths();
    if (!recent.empty()) {
        ImGui::TextDisabled("Recent courses:");
        for (const std::string& path : recent) {
            const std::string shown = Shown(path);
            if (ImGui::Selectable(shown.c_str(), shown == pathField_, ImGuiSelectableFlags_AllowDoubleClick)) {
                pathField_ = shown;
                overwriteAsked_.clear();
                act = act || ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left);
            }
        }
    }
    if (!recentCourses.message().empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, kNote);
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + kPathWidth);
        ImGui::TextUnformatted(recentCourses.message().c_str());
        ImGui::PopTextWrapPos();
        ImGui::PopStyleColor();
    }
    if (!fileMessage.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, kFailure);
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + kPathWidth);
        ImGui::TextUnformatted(fileMessage.c_str());
        ImGui::PopTextWrapPos();
        ImGui::PopStyleColor();
    }

    // Save as asks for a second click before it replaces a file.
    const char* button = opening ? "Open" : overwriteAsked_.empty() ? "Save" : "Replace";
    act = ImGui::Button(button) || act;
    ImGui::SameLine();
    const bool cancel = ImGui::Button("Cancel") || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape));
    bool done = cancel;
    if (act && !cancel) done = opening ? OpenCourse(pathField_) : SaveCourseAs(pathField_, !overwriteAsked_.empty());
    // A question answered "keep" closes the dialog too: the gates are to be saved first.
    if (act && !done && !fileFailed) done = true;
    if (done) {
        ImGui::CloseCurrentPopup();
        dialog_ = FileDialog::None;
    }
    ImGui::EndPopup();
}
