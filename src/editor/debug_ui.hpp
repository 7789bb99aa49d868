// The developer overlay. Off unless the game is started with --dev; while on, the UI frame
// that the main loop begins every frame is drawn over the picture, the "DebugState" window
// holds the course editor (gates placed where the player flies, edited, saved, opened and
// loaded), its markers are drawn in the world, and the overlay's flight controls and free look
// replace the player's steering and the mouse look.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "chara/controls.hpp"
#include "course/course_file.hpp"
#include "math/math.hpp"
#include "platform/files/recent_files.hpp"
#include "platform/files/user_data_folder.hpp"

class Camera;
class Model;
class ModelCache;

class DebugUi {
public:
    static constexpr float kFlyStep = 2.0f;        // W/S and Q/E, units per update
    static constexpr int kLookDeadZone = 25;       // pixels around the middle that turn nothing
    static constexpr float kLookPitchMin = -20.0f, kLookPitchMax = 15.0f;

    // Issues this frame's overlay windows; call between the UI frame's start and its drawing.
    void Draw(uint32_t framesPerSecond, int frameCount);
    // Deletes every record being edited.
    void Release();

    // The "DebugState" window with its green title bars and the course editor inside it, built
    // at the end of every game-scene update; the fly keys' Space drops a gate. Nothing while the
    // overlay is off or outside a UI frame.
    void ShowState(const Matrix& playerWorld, const FlyKeys& keys);
    // The markers of the records being edited, drawn where the editor places them, with models
    // from `models`. Nothing while the overlay is off.
    void DrawCheckpoints(ModelCache& models) const;

    // Flies the player with the editor keys instead of its own steering: Z toggles walk mode
    // (once per press), walk mode keeps the player on `map` placed by mapWorld, then W S A D
    // R F Q E each apply one step in the player's own frame, in that order.
    void FlyControls(Matrix& playerWorld, const Matrix& mapWorld, const Model& map, const FlyKeys& keys);
    // Turns the camera by the cursor's offset from the middle of the picture (the controls'
    // look), at a rate of a hundredth of a degree per pixel per update outside a 25-pixel dead
    // zone; the cursor is left where it is. The angles are written only in walk mode, so
    // otherwise the cursor is free for the overlay's windows.
    void FreeLook(Camera& camera, const Controls& controls) const;

    // The chase camera's "CamState" window: the aim ray's distance (-1 for a miss), the player's
    // position and the aim point. Nothing while the overlay is off or outside a UI frame.
    void ShowCameraState(float rayDistance, Vec3 playerPosition, Vec3 target) const;
    // One line of text in the UI's default window ("Debug"), as printf formats it. Nothing
    // while the overlay is off or outside a UI frame: nothing is formatted only to be thrown away.
    void DebugText(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    bool enabled = false;     // the overlay is drawn and its controls are active
    CourseList checkpoints;   // the records being edited, in course order; kept across runs
    bool walkMode = false; // the fly controls follow the ground and the cursor turns the camera
    int walkKeyLatch = 0;  // Z was pressed in the previous update

    // The editor's state, kept for the whole process.
    int currentKind = 0;    // "CPID": kind of the next record placed, 0 ... 3
    int currentGroup = 0;   // "CPGroup": route of the next record placed, 0 ... groupLimit
    int groupLimit = 0;     // raised by each "GroupSet" click
    int selectedIndex = 0;  // the record in the edit panel, kept inside the list
    int placeLatch = 0;     // a record was placed in the previous update ("Set" or Space)
    // Where Save writes and Load reads: the game's own files.
    std::string saveFile = kEditorSaveFile;
    std::string loadFile = kEditorLoadFile;
    // Save goes to userFolder instead (under saveFile's own name) when the game's folder is not
    // the user's to write: always for an installed game, else when saveFile's folder is
    // read-only. The user's folder is made when first needed; empty means there is none.
    bool gameFolderReadOnly = false;
    std::string userFolder = platform::UserDataFolder();
    // Paths typed into Open and Save as are taken from the folder the game was started in (the
    // game itself moves to its data folder), "~" from home.
    std::string startFolder;
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    // The courses last opened or saved with Open and Save as, newest first, kept between sessions.
    platform::RecentFiles recentCourses{RecentCoursesFile()};
    // The file the records were last read from or written to, as shown; empty before any.
    std::string courseFile;
    // Gates were placed, removed or moved since the records were last saved or read.
    bool unsaved = false;
    // What the last file action did, shown under the menu bar; a failure in red.
    std::string fileMessage;
    bool fileFailed = false;
    // Why the selected main-course gate, as edited, could never be passed; shown in red under
    // its panel. Empty for a good gate.
    std::string gateWarning;

    // Save writes every record's edited placement safely: a failure leaves the old file whole
    // and the records as they are. The message says where the file went. Load replaces the
    // records only when the whole file reads, and asks first when that would lose changes.
    bool Save();
    bool Load();
    // Open and Save as take a typed path (see startFolder). Open reads the whole file first, then
    // asks when the records have unsaved changes. Save as makes the missing folders and will not
    // replace an existing file unless `overwrite`. Both put the file first in recentCourses.
    bool OpenCourse(const std::string& typed);
    bool SaveCourseAs(const std::string& typed, bool overwrite);
    // Whether the game may end: asks first, in the game's question box, when the records have
    // unsaved changes; keeping them (staying) is the default answer.
    bool MayQuit();
    bool HasUnsavedGates() const { return enabled && unsaved; }
    // The "DebugState" window's title: the course file and a mark while changes are unsaved.
    std::string WindowTitle() const;
    // A field or a dialog of the overlay has the keyboard: the game is to hear no key now.
    bool TakesKeyboard() const;
    // The file dialog on screen: "open", "save as", or "" for none.
    const char* DialogShown() const;

    // Where the recent courses are kept: "recent-courses" in the user's state folder.
    static std::string RecentCoursesFile();

private:
    enum class FileDialog { None, Open, SaveAs };
    struct SaveTarget {
        std::string path;         // empty when there is nowhere to save
        bool userFolder = false;  // the game's folder is not the user's: saved in their own
        std::string error;
    };

    void EditorWindow(const Matrix& playerWorld, const FlyKeys& keys);
    void EditPanel();
    void FileMenu();
    void FileDialogWindow();
    SaveTarget WhereSaveGoes() const;
    // Asks `question` (whether to drop the unsaved changes for what comes next); true when there
    // are none or the answer is yes.
    bool MayDiscard(const std::string& question);
    // The records read from `path` replace the ones being edited.
    void TakeRecords(CourseList records, const std::string& path);
    bool Failed(const std::string& message);
    // Puts the file first among the recent courses; the message tells when that cannot be kept.
    void Remember(const std::string& path);
    std::string Shown(const std::string& path) const;

    mutable bool debugWindowSized_ = false;  // the "Debug" lines' window has its first size
    FileDialog dialog_ = FileDialog::None;
    bool dialogOpening_ = false;
    std::string pathField_;
    std::string overwriteAsked_;  // the path Save as refused to replace; a second click replaces it
};

// The marker model of a record in the editor, or null for a kind that has none.
const char* CheckpointMarkerModel(int kind, int enemyNo);

