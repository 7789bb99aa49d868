// The settings file: what a player may get wrong in it, and what the game writes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "at_once.hpp"
#include "platform/settings/settings_file.hpp"
#include "platform/settings/settings_table.hpp"
#include "platform/window/device_input.hpp"

using namespace platform;

namespace {

const SdlInputNaming kNames;

SettingsReading Read(const std::string& text) { return ReadSettings(text, "s.toml", kNames); }

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(SettingsFormat, NoFileTextIsTheGameAsItAlwaysPlayed) {
    const SettingsReading r = Read("");
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(r.settings, Settings{});
    EXPECT_EQ(r.settings.keys[size_t(Control::SlideLeft)], InputNames{"A"});
    EXPECT_EQ(r.settings.keys[size_t(Control::Fire)], InputNames{"MouseLeft"});
}

TEST(SettingsFormat, ReadsWhatAPlayerWrites) {
    const SettingsReading r = Read(
        "[audio]\nmusic = 40\n[look]\nmouse_sensitivity = 2\ninvert_vertical = true\n"
        "[keys]\nslide_left = [\"left\", \"A\"]\nfire = \"return\"\n[gamepad]\npause = [\"Y\"]\n"
        "[display]\nfullscreen = \"no\"\nrender_scale = 0.5\nframe_skip = false\nlanguage = \"ja\"\n"
        "[play]\npause_on_focus_loss = false\n");
    EXPECT_TRUE(r.problems.empty()) << r.problems[0];
    EXPECT_EQ(r.settings.music, 40);
    EXPECT_EQ(r.settings.effects, 100);
    EXPECT_EQ(r.settings.mouseSensitivity, 2.0);
    EXPECT_TRUE(r.settings.invertVertical);
    EXPECT_EQ(r.settings.keys[size_t(Control::SlideLeft)], (InputNames{"Left", "A"}));
    EXPECT_EQ(r.settings.keys[size_t(Control::Fire)], InputNames{"Return"});
    EXPECT_EQ(r.settings.buttons[size_t(Control::Pause)], InputNames{"y"});
    EXPECT_EQ(r.settings.fullScreen, FullScreenAtStart::No);
    EXPECT_EQ(r.settings.renderScale, 0.5);
    EXPECT_FALSE(r.settings.frameSkip);
    EXPECT_FALSE(r.settings.pauseOnFocusLoss);
    // Written back, it reads the same.
    const SettingsReading back = Read(FormatSettings(r.settings));
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.settings, r.settings);
}

// Each fault is one line naming the file, its line and the key; what was wrong keeps its
// default and the rest of the file still counts.
TEST(SettingsFormat, EachFaultIsOneLineAndKeepsItsDefault) {
    const struct {
        const char* text;
        const char* said;  // a part of the one problem line
    } cases[] = {
        {"[audio]\nmusic = \"loud\"\neffects = 50\n", "s.toml:2: [audio] music: expected a whole number"},
        {"[audio]\nmusic = 101\neffects = 50\n", "s.toml:2: [audio] music"},
        {"[audio]\nvolume = 3\neffects = 50\n", "s.toml:2: [audio] \"volume\": no such setting"},
        {"[sound]\nmusic = 3\n[audio]\neffects = 50\n", "s.toml:1: \"sound\": no such table"},
        {"look = 3\n[audio]\neffects = 50\n", "s.toml:1: \"look\": should be the table [look]"},
        {"[audio]\neffects = 50\n[look]\nmouse_sensitivity = 0\n", "s.toml:4: [look] mouse_sensitivity"},
        {"[audio]\neffects = 50\n[keys]\nfire = [\"NoSuchKey\"]\n", "s.toml:4: [keys] fire: \"NoSuchKey\" is no key"},
        {"[audio]\neffects = 50\n[gamepad]\nfire = [\"Return\"]\n", "is no gamepad button"},
        {"[audio]\neffects = 50\n[display]\nfullscreen = true\n", "expected \"ask\", \"yes\" or \"no\""},
    };
    for (const auto& c : cases) {
        const SettingsReading r = Read(c.text);
        ASSERT_EQ(r.problems.size(), 1u) << c.text;
        EXPECT_NE(r.problems[0].find(c.said), std::string::npos) << r.problems[0];
        EXPECT_EQ(r.settings.music, 100) << c.text;
        EXPECT_EQ(r.settings.effects, 50) << c.text;
        EXPECT_EQ(r.settings.mouseSensitivity, 1.0) << c.text;
        EXPECT_EQ(r.settings.keys, Settings::DefaultKeys()) << c.text;
        EXPECT_EQ(r.settings.buttons, Settings::DefaultButtons()) << c.text;
    }
}

// A file of each version: one from before versions reads as it always did; the game writes its
// own version; a newer game's file gives what this game knows of it, its own tables and keys
// unread without a word, and says once that it is newer; a version that is no whole number is
// one problem.
TEST(SettingsFormat, FilesOfEveryVersionRead) {
    const std::string body = "[audio]\nmusic = 40\n[look]\ninvert_vertical = true\n";
    const SettingsReading old = Read(body);
    EXPECT_TRUE(old.problems.empty());
    EXPECT_EQ(old.version, 0);
    EXPECT_EQ(old.settings.music, 40);
    const std::string written = FormatSettings(old.settings);
    EXPECT_NE(written.find("\nversion = 1\n"), std::string::npos) << written;
    EXPECT_LT(written.find("version = 1"), written.find("[audio]")) << "above every table";
    EXPECT_EQ(Read(written).version, 1);

    const SettingsReading newer =
        Read("version = 2\n[ghosts]\nshown = true\n[audio]\nmusic = 40\nreverb = 0.5\n[look]\ninvert_vertical = true\n");
    ASSERT_EQ(newer.problems.size(), 1u) << newer.problems[1];
    EXPECT_NE(newer.problems[0].find("newer version of the game (settings version 2)"), std::string::npos)
        << newer.problems[0];
    EXPECT_TRUE(newer.newer());
    EXPECT_EQ(newer.settings, old.settings);

    const SettingsReading bad = Read("version = \"two\"\n" + body);
    ASSERT_EQ(bad.problems.size(), 1u);
    EXPECT_NE(bad.problems[0].find("s.toml:1: version: expected a whole number"), std::string::npos) << bad.problems[0];
    EXPECT_EQ(bad.settings, old.settings);
}

// The table behind the file and the options screen: every setting writes a value that reads
// back, a change is heard by its group only, and the reader names the tables from it.
TEST(SettingsTable, EverySettingReadsBackAndChangesItsOwnGroup) {
    Settings changed;
    changed.effects = 30;
    changed.gamepadSpeed = 2.5;
    changed.buttons[size_t(Control::Fire)] = {"x"};
    changed.renderScale = 0.75;
    changed.pauseOnFocusLoss = false;
    const SettingChanges groups = ChangesBetween(Settings{}, changed);
    for (const SettingGroup g : {SettingGroup::Audio, SettingGroup::Look, SettingGroup::Controls, SettingGroup::Display,
                                 SettingGroup::Play})
        EXPECT_TRUE(groups.Has(g)) << int(g);
    changed = Settings{};
    changed.music = 0;
    EXPECT_EQ(ChangesBetween(Settings{}, changed), SettingChanges().Add(SettingGroup::Audio));
    EXPECT_TRUE(ChangesBetween(changed, changed).Empty());
    for (const Setting& setting : SettingsTable()) {
        EXPECT_TRUE(IsSettingsTable(setting.table)) << setting.key;
        EXPECT_TRUE(setting.read && setting.write && setting.show) << setting.key;
        EXPECT_EQ(setting.step != nullptr, setting.kind != SettingKind::Binding && setting.kind != SettingKind::Text)
            << setting.key;
    }
    EXPECT_EQ(SettingsTableNames(), "audio, look, keys, gamepad, display, play");
}

// A file that is no settings file at all: one line, every default.
TEST(SettingsFormat, DamagedFilesGiveTheDefaults) {
    const std::string cases[] = {
        "[audio]\nmusic = 4",                       // cut off in the middle: reads, music 4
        "[audio\nmusic = 40\n",                     // truncated table name
        std::string("\x7f" "ELF\x02\x01\x01\0\0\xff\xfe", 12),  // binary junk
        "[audio]\nmusic = 40\n# " + std::string(10 * 1024 * 1024, 'x') + "\n",  // a 10 MB line
    };
    EXPECT_EQ(Read(cases[0]).settings.music, 4);
    for (size_t i = 1; i < std::size(cases); ++i) {
        const SettingsReading r = Read(cases[i]);
        ASSERT_EQ(r.problems.size(), 1u) << i;
        EXPECT_TRUE(r.problems[0].starts_with("s.toml")) << r.problems[0];
        EXPECT_EQ(r.problems[0].find('\n'), std::string::npos);
        EXPECT_LT(r.problems[0].size(), 300u);
        EXPECT_TRUE(r.unreadable);
        EXPECT_EQ(r.settings, Settings{});
    }
}

// Two games saving their settings at the same moment, again and again: the file is always one
// of the two whole, never a mix, and nothing is left beside it.
TEST(SettingsFile, TwoGamesSavingAtOnceLeaveOneWholeFile) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(testing::TempDir()) / "korvelin-settings-twice";
    fs::remove_all(folder);
    const std::string path = (folder / kSettingsFileName).string();
    Settings mine[2];
    mine[0].music = 10;
    mine[0].keys[size_t(Control::Fire)] = {"Return"};
    mine[1].music = 90;
    mine[1].invertVertical = true;
    for (int round = 0; round < 20; ++round) {
        const bool saved = AtOnce(2, [&](int i) {
            SettingsFile file = LoadSettingsFile(path, kNames);
            std::string note;
            SaveError error;
            return SaveSettingsFile(file, mine[i], &note, &error) ? 0 : 1;
        });
        ASSERT_TRUE(saved) << "round " << round;
        const SettingsFile read = LoadSettingsFile(path, kNames);
        EXPECT_TRUE(read.problems.empty()) << read.problems.front();
        EXPECT_TRUE(read.settings == mine[0] || read.settings == mine[1]) << "round " << round << ": a mix";
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"settings.toml", "settings.toml.lock"}));
}

// The player's damaged file is kept beside under a new name before the game writes its own,
// never overwritten; a later save of a clean file writes in place.
TEST(SettingsFile, ADamagedFileIsKeptAsideBeforeANewOneIsWritten) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(testing::TempDir()) / "korvelin-settings-test" / "korvelin";
    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);
    const std::string path = (folder / kSettingsFileName).string();
    const std::string junk = "[audio\nmusic = 40\n";
    std::ofstream(folder / "settings.toml.broken") << "kept from before";
    std::ofstream(path, std::ios::binary) << junk;

    SettingsFile file = LoadSettingsFile(path, kNames);
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_TRUE(file.keepAside);
    Settings changed;
    changed.music = 30;
    std::string note;
    SaveError error;
    ASSERT_TRUE(SaveSettingsFile(file, changed, &note, &error)) << error.message;
    EXPECT_EQ(Slurp(folder / "settings.toml.broken"), "kept from before");
    EXPECT_EQ(Slurp(folder / "settings.toml.broken-2"), junk);
    EXPECT_NE(note.find("settings.toml.broken-2"), std::string::npos) << note;
    EXPECT_EQ(LoadSettingsFile(path, kNames).settings.music, 30);

    note.clear();
    changed.music = 20;
    ASSERT_TRUE(SaveSettingsFile(file, changed, &note, &error)) << error.message;
    EXPECT_TRUE(note.empty());
    EXPECT_FALSE(fs::exists(folder / "settings.toml.broken-3"));
    EXPECT_FALSE(fs::exists(path + ".saving"));
    // A folder where the file should be: one line, and it is never written over.
    fs::remove(path);
    fs::create_directory(path);
    file = LoadSettingsFile(path, kNames);
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_NE(file.problems[0].find("folder"), std::string::npos) << file.problems[0];
    EXPECT_FALSE(SaveSettingsFile(file, changed, &note, &error));
    EXPECT_TRUE(fs::is_directory(path));
    // A newer game's file is kept beside as it was before this game writes its own.
    fs::remove_all(path);
    const std::string newer = "version = 9\n[audio]\nmusic = 40\n[ghosts]\nshown = true\n";
    std::ofstream(path, std::ios::binary) << newer;
    file = LoadSettingsFile(path, kNames);
    EXPECT_EQ(file.settings.music, 40);
    ASSERT_TRUE(SaveSettingsFile(file, changed, &note, &error)) << error.message;
    EXPECT_EQ(Slurp(folder / "settings.toml.newer"), newer);
    EXPECT_NE(note.find("newer version"), std::string::npos) << note;
    // No file and no folder yet: the defaults, and saving makes the folder.
    fs::remove_all(folder);
    file = LoadSettingsFile(path, kNames);
    EXPECT_TRUE(file.problems.empty());
    ASSERT_TRUE(SaveSettingsFile(file, changed, &note, &error)) << error.message;
    EXPECT_EQ(LoadSettingsFile(path, kNames).settings.music, 20);
}
