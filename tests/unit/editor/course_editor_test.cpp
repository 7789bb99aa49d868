// The course editor in a real UI: placing gates with Space and "Set", the sliders' limits (also
// for typed values), the edit panel, saving and loading, Open and Save as with typed paths and
// the recent courses, the question before unsaved gates are lost, and which marker each record
// draws.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "editor/debug_ui.hpp"
#include "at_once.hpp"
#include "full_disk.hpp"
#include "platform/window/dialogs.hpp"
#include "ui_driver.hpp"

namespace {

namespace fs = std::filesystem;

class CourseEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor.enabled = true;
        dir = fs::temp_directory_path() / ("korvelin_editor_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        editor.saveFile = (dir / "test2.dat").string();
        editor.loadFile = editor.saveFile;
        editor.userFolder = (dir / "xdg" / "korvelin").string();  // never the tester's own
        editor.home = (dir / "home").string();
        editor.startFolder = (dir / "start").string();
        editor.recentCourses = platform::RecentFiles((dir / "state" / "recent-courses").string());
        // The game's question box, answered here: every question is kept.
        platform::SetDialogHandler([this](const platform::DialogRequest& r) {
            questions.push_back(r);
            return answerYes ? platform::DialogAnswer::Yes : platform::DialogAnswer::No;
        });
    }
    void TearDown() override {
        platform::SetDialogHandler(nullptr);
        ::chmod(dir.c_str(), 0755);
        fs::remove_all(dir);
    }
    ImVec2 At(const char* label, bool inChild = false, const char* window = "###DebugState") {
        const auto at = ui.Find(window, label, inChild);
        EXPECT_TRUE(at.has_value()) << label;
        return at.value_or(ImVec2(-1, -1));
    }
    void PlaceOne() {
        keys.place = true;
        ui.Frame();
        keys.place = false;
        ui.Frame();
    }
    // File > Open... or Save as..., the path typed into the dialog's field and Return.
    void TypeIntoFileDialog(const char* item, const char* dialog, const std::string& path) {
        ASSERT_TRUE(ui.ChooseMenuItem("###DebugState", "File", item)) << item;
        ui.Type(At("##path", false, dialog), path);
    }

    std::vector<platform::DialogRequest> questions;
    bool answerYes = false;

    FlyKeys keys;  // Space drops a gate while keys.place is set
    DebugUi editor;
    // A player turned and tilted, so "below" means along its own up axis.
    Matrix player = MatrixRotationX(0.3f) * MatrixRotationY(0.8f) * MatrixTranslation(100, 50, 200);
    UiDriver ui{[this] { editor.ShowState(player, keys); }};
    fs::path dir;
};

TEST_F(CourseEditorTest, SpaceAndSetPlaceOneRecordPerPress) {
    keys.place = true;
    ui.Frames(30);
    EXPECT_EQ(editor.checkpoints.size(), 1u) << "held for 30 frames";
    keys.place = false;
    ui.Frame();
    keys.place = true;
    ui.Frames(5);
    EXPECT_EQ(editor.checkpoints.size(), 2u);
    keys.place = false;
    ui.Click(At("Set"));
    EXPECT_EQ(editor.checkpoints.size(), 3u);
}

TEST_F(CourseEditorTest, SlidersStopAtTheirLimits) {
    ui.DragRight(At("CPID"));
    EXPECT_EQ(editor.currentKind, 3);
    ui.DragRight(At("CPGroup"));
    EXPECT_EQ(editor.currentGroup, 0) << "no GroupSet click yet";
    const ImVec2 groupSet = At("GroupSet");
    ui.Click(groupSet);
    ui.Click(groupSet);
    ui.DragRight(At("CPGroup"));
    EXPECT_EQ(editor.currentGroup, 2);
}

TEST_F(CourseEditorTest, TypedValuesAreHeldToTheSlidersRanges) {
    PlaceOne();
    editor.groupLimit = 2;
    CheckPoint& cp = *editor.checkpoints[0];
    const struct {
        const char* label;
        bool inChild;
        const char* typed;
        std::function<float()> stored;
        float expected;
    } cases[] = {
        {"CPID", false, "7", [&] { return float(editor.currentKind); }, 3},
        {"CPID", false, "-1", [&] { return float(editor.currentKind); }, 0},
        {"CPGroup", false, "5", [&] { return float(editor.currentGroup); }, 2},
        {"CPGroup", false, "-3", [&] { return float(editor.currentGroup); }, 0},
        {"x", true, "250", [&] { return float(cp.offset[0]); }, 100},
        {"y", true, "-999", [&] { return float(cp.offset[1]); }, -100},
        {"z", true, "42", [&] { return float(cp.offset[2]); }, 42},
        {"sx", true, "25", [&] { return cp.scale[0]; }, 10},
        {"sy", true, "-4", [&] { return cp.scale[1]; }, 0},  // held at 0.1, stored as a flat 0
    };
    for (const auto& c : cases) {
        ui.Type(At(c.label, c.inChild), c.typed);
        ui.Frame();
        EXPECT_EQ(c.stored(), c.expected) << c.label << " typed " << c.typed;
    }
}

TEST_F(CourseEditorTest, MainCourseGatesGoBelowThePlayerAndRouteGatesAtIt) {
    editor.currentGroup = 0;
    keys.place = true;
    ui.Frame();
    keys.place = false;
    ui.Frame();
    editor.groupLimit = 1;
    editor.currentGroup = 1;
    keys.place = true;
    ui.Frame();
    ASSERT_EQ(editor.checkpoints.size(), 2u);
    const Vec3 below = player.Row(3) - Vec3Normalize(player.Row(1)) * 110.0f;
    const Vec3 main = editor.checkpoints[0]->world.Row(3);
    EXPECT_NEAR(Vec3Length(main - below), 0.0f, 1e-3f);
    EXPECT_EQ(editor.checkpoints[1]->world, player);
    EXPECT_EQ(editor.checkpoints[1]->enemyNo, 1);
}

TEST_F(CourseEditorTest, ScalesAreStoredAsWholeNumbersAndClearHidesThePanel) {
    keys.place = true;
    ui.Frame();
    keys.place = false;
    ui.Type(At("sx", true), "2.7");
    ui.Frame();
    EXPECT_EQ(editor.checkpoints[0]->scale[0], 2.0f);
    ui.Type(At("sy", true), "0.5");
    ui.Frame();
    EXPECT_EQ(editor.checkpoints[0]->scale[1], 0.0f) << "below 1 is a flat marker";
    EXPECT_EQ(editor.checkpoints[0]->scale[2], 1.0f);
    // A main-course gate of scale 0 could never be passed: said at once, and gone when mended.
    EXPECT_EQ(editor.gateWarning,
              "CPoint[0]: the gate's matrix cannot be inverted (scale 0); the game refuses a course with this gate");
    ui.Type(At("sy", true), "1");
    ui.Frame();
    EXPECT_EQ(editor.gateWarning, "");

    ui.Click(At("Clear"));
    EXPECT_TRUE(editor.checkpoints.empty());
    EXPECT_FALSE(ui.Find("###DebugState", "Clear").has_value()) << "no edit panel without records";
    keys.place = true;
    ui.Frame();
    EXPECT_EQ(editor.selectedIndex, 0) << "a new record is back in the panel";
}

TEST_F(CourseEditorTest, SaveThenLoadGivesTheSameRecordsAndAFailedSaveKeepsTheOldFile) {
    for (int i = 0; i < 3; ++i) {
        editor.currentKind = i;
        player = MatrixTranslation(0, 0, 37.123456f * float(i)) * player;
        keys.place = true;
        ui.Frame();
        keys.place = false;
        ui.Frame();
    }
    editor.checkpoints[1]->SetOffsetScale(3, -4, 5, 2, 1, 1);
    ui.Frame();
    std::vector<Matrix> saved;
    for (const auto& cp : editor.checkpoints) saved.push_back(cp->editedWorld);
    ASSERT_TRUE(editor.Save());
    editor.checkpoints.clear();
    ASSERT_TRUE(editor.Load());
    ui.Frame();
    ASSERT_EQ(editor.checkpoints.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        for (int e = 0; e < 16; ++e)
            EXPECT_NEAR(editor.checkpoints[i]->editedWorld.Data()[e], saved[i].Data()[e],
                        1e-5f * std::max(1.0f, std::fabs(saved[i].Data()[e])));

    // A folder that cannot be written: the old file stays whole and the overlay says so.
    std::ifstream in(editor.saveFile);
    const std::string before((std::istreambuf_iterator<char>(in)), {});
    editor.checkpoints.pop_back();
    {
        const FullDisk full;  // even root cannot write past it
        EXPECT_FALSE(editor.Save());
    }
    EXPECT_TRUE(editor.fileFailed);
    EXPECT_NE(editor.fileMessage.find("Save failed"), std::string::npos) << editor.fileMessage;
    std::ifstream again(editor.saveFile);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before);
    EXPECT_EQ(editor.checkpoints.size(), 2u) << "the records on screen are kept";

    // A load that fails keeps the records too; one that shrinks the list keeps the panel in it.
    editor.loadFile = (dir / "missing.dat").string();
    EXPECT_FALSE(editor.Load());
    EXPECT_EQ(editor.checkpoints.size(), 2u);
    ::chmod(dir.c_str(), 0755);
    editor.selectedIndex = 1;
    editor.loadFile = editor.saveFile;
    std::ofstream(editor.saveFile) << "1 0 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1";
    EXPECT_TRUE(editor.Load());
    EXPECT_EQ(editor.selectedIndex, 0);

    // Load over unsaved gates asks first; no keeps them.
    PlaceOne();
    EXPECT_FALSE(editor.Load());
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(editor.checkpoints.size(), 2u);
}

TEST_F(CourseEditorTest, SaveGoesToTheUsersFolderWhenTheGameFolderIsNotTheirs) {
    keys.place = true;
    ui.Frame();
    keys.place = false;
    const std::string user = editor.userFolder;
    const struct {
        const char* what;
        bool gameFolderReadOnly;
        fs::path saveFile;
        std::string userFolder;
        fs::path lands;  // empty: the save fails
    } cases[] = {
        {"a game folder of the user's", false, dir / "test2.dat", user, dir / "test2.dat"},
        {"an installed game", true, dir / "test2.dat", user, fs::path(user) / "test2.dat"},
        {"a save folder that cannot be written", false, dir / "gone" / "test2.dat", user, fs::path(user) / "test2.dat"},
        {"an installed game and no folder of the user's", true, dir / "test2.dat", "", ""},
    };
    for (const auto& c : cases) {
        fs::remove(dir / "test2.dat");
        fs::remove_all(dir / "xdg");
        editor.gameFolderReadOnly = c.gameFolderReadOnly;
        editor.saveFile = c.saveFile.string();
        editor.userFolder = c.userFolder;
        EXPECT_EQ(editor.Save(), !c.lands.empty()) << c.what << ": " << editor.fileMessage;
        EXPECT_EQ(editor.fileFailed, c.lands.empty()) << c.what;
        if (c.lands.empty()) {
            EXPECT_NE(editor.fileMessage.find("XDG_DATA_HOME"), std::string::npos) << c.what << ": " << editor.fileMessage;
            EXPECT_FALSE(fs::exists(dir / "test2.dat")) << c.what;
            continue;
        }
        EXPECT_TRUE(fs::is_regular_file(c.lands)) << c.what;
        // The overlay says where the file went, and why when it is not where it was asked.
        EXPECT_NE(editor.fileMessage.find("Saved 1 records to " + c.lands.string()), std::string::npos)
            << c.what << ": " << editor.fileMessage;
        const bool elsewhere = c.lands != c.saveFile;
        EXPECT_EQ(editor.fileMessage.find("read-only") != std::string::npos, elsewhere) << c.what << ": " << editor.fileMessage;
        EXPECT_EQ(fs::exists(c.saveFile), !elsewhere) << c.what;
    }
}

TEST_F(CourseEditorTest, SaveAsAndOpenTakeTypedPathsRememberThemAndAskBeforeLosingGates) {
    for (int i = 0; i < 3; ++i) PlaceOne();
    EXPECT_EQ(editor.WindowTitle(), "DebugState *###DebugState") << "unsaved gates, no file yet";
    TypeIntoFileDialog("Save as...", "Save course as", "~/courses/a.dat");
    const fs::path saved = dir / "home" / "courses" / "a.dat";
    CourseList read;
    ASSERT_TRUE(LoadCourse(saved.string(), read).Ok()) << editor.fileMessage;
    EXPECT_EQ(read.size(), 3u);
    EXPECT_EQ(editor.WindowTitle(), "DebugState - ~/courses/a.dat###DebugState");
    EXPECT_FALSE(ui.Find("Save course as", "##path").has_value()) << "the dialog closes once saved";
    EXPECT_TRUE(questions.empty());

    PlaceOne();
    EXPECT_EQ(editor.WindowTitle(), "DebugState - ~/courses/a.dat *###DebugState");
    // Open offers the last course; with unsaved gates it asks first, and "keep" is the default.
    ASSERT_TRUE(ui.ChooseMenuItem("###DebugState", "File", "Open..."));
    ui.Frame();  // the field takes the keys in the frame after the dialog appears
    EXPECT_TRUE(editor.TakesKeyboard()) << "the dialog's field has the keys, not the craft";
    ui.Click(At("Open", false, "Open course"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_FALSE(questions[0].defaultYes);
    EXPECT_NE(questions[0].text.find("~/courses/a.dat"), std::string::npos) << questions[0].text;
    EXPECT_EQ(editor.checkpoints.size(), 4u) << "answered no: the gates are kept";
    answerYes = true;
    TypeIntoFileDialog("Open...", "Open course", "~/courses/a.dat");
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(editor.checkpoints.size(), 3u);
    EXPECT_EQ(editor.WindowTitle(), "DebugState - ~/courses/a.dat###DebugState");
    ui.Frame();
    EXPECT_FALSE(editor.TakesKeyboard());

    // Nothing to lose: no question. A relative path is taken from the folder the game started in.
    fs::create_directories(dir / "start");
    EXPECT_TRUE(editor.SaveCourseAs("b.dat", false)) << editor.fileMessage;
    EXPECT_TRUE(fs::exists(dir / "start" / "b.dat"));
    EXPECT_TRUE(editor.OpenCourse("b.dat"));
    EXPECT_EQ(questions.size(), 2u);
    DebugUi later;
    later.recentCourses = editor.recentCourses;
    later.recentCourses.Load();
    EXPECT_EQ(later.recentCourses.paths(), (std::vector<std::string>{(dir / "start" / "b.dat").string(), saved.string()}));
    // The game ends only when nothing is lost or the player says so.
    EXPECT_TRUE(editor.MayQuit());
    PlaceOne();
    answerYes = false;
    EXPECT_FALSE(editor.MayQuit());
    EXPECT_EQ(questions.size(), 3u);
}

// Four games' editors saving courses of their own into one folder at the same moment, round
// after round: every course is whole, and the recent courses name all four.
TEST_F(CourseEditorTest, FourEditorsSavingAtOnceKeepEveryCourseAndTheListOfAll) {
    for (int i = 0; i < 3; ++i) PlaceOne();
    fs::create_directories(dir / "start");
    const auto name = [&](int i) { return (dir / "start" / ("course-" + std::to_string(i) + ".dat")).string(); };
    for (int round = 0; round < 20; ++round) {
        fs::remove_all(dir / "state");
        const bool saved = AtOnce(4, [&](int i) { return editor.SaveCourseAs(name(i), true) ? 0 : 1; });
        ASSERT_TRUE(saved) << "round " << round;
        for (int i = 0; i < 4; ++i) {
            CourseList read;
            EXPECT_TRUE(LoadCourse(name(i), read).Ok()) << name(i);
            EXPECT_EQ(read.size(), 3u) << name(i);
        }
        platform::RecentFiles recent(editor.recentCourses.file());
        recent.Load();
        std::vector<std::string> listed = recent.paths();
        std::sort(listed.begin(), listed.end());
        ASSERT_EQ(listed, (std::vector<std::string>{name(0), name(1), name(2), name(3)})) << "round " << round;
    }
}

TEST_F(CourseEditorTest, SaveAsReplacesAFileOnlyAtTheSecondClick) {
    PlaceOne();
    fs::create_directories(dir / "start");
    const fs::path target = dir / "start" / "mine.dat";
    std::ofstream(target) << "precious";
    TypeIntoFileDialog("Save as...", "Save course as", "mine.dat");
    std::ifstream in(target);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "precious");
    EXPECT_NE(editor.fileMessage.find("exists"), std::string::npos) << editor.fileMessage;
    EXPECT_TRUE(editor.unsaved);
    ui.Click(At("Replace", false, "Save course as"));
    CourseList read;
    EXPECT_TRUE(LoadCourse(target.string(), read).Ok());
    EXPECT_EQ(read.size(), 1u);
    EXPECT_FALSE(editor.unsaved);
    EXPECT_FALSE(ui.Find("Save course as", "Replace").has_value());

    // A path that means nothing saves nothing and says why.
    EXPECT_FALSE(editor.SaveCourseAs("~nobody/a.dat", false));
    EXPECT_NE(editor.fileMessage.find("~name"), std::string::npos) << editor.fileMessage;
    EXPECT_FALSE(editor.OpenCourse(dir.string()));
    EXPECT_NE(editor.fileMessage.find("is a folder"), std::string::npos) << editor.fileMessage;
}

TEST(CheckpointMarkers, EachKindAndRouteHasItsMarker) {
    const struct {
        int kind, enemyNo;
        const char* model;
    } cases[] = {
        {0, 0, "data/model/CheckPointS.x"},  {0, 2, "data/model/CheckPointS2.x"},
        {1, 0, "data/model/CheckPoint.x"},   {1, 1, "data/model/CheckPoint2.x"},
        {2, 0, "data/model/CheckPointE.x"},  {2, 3, "data/model/CheckPointE2.x"},
        {3, 0, "data/model/CheckPointSP.x"}, {3, 1, nullptr},
        {4, 0, nullptr},                     {-1, 0, nullptr},
    };
    for (const auto& c : cases) {
        const char* model = CheckpointMarkerModel(c.kind, c.enemyNo);
        EXPECT_STREQ(model, c.model) << "kind " << c.kind << " enemyNo " << c.enemyNo;
    }
}

}  // namespace
