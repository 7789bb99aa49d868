// The player's settings in the running game: this run's overrides win and are never saved, and
// every listener hears everything once, then only the groups a change touched.
#include "app/player_settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "full_disk.hpp"

using namespace platform;

TEST(PlayerSettings, OverridesWinForThisRunAndListenersHearOnlyWhatChanged) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(testing::TempDir()) / "korvelin-player-settings";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string path = (folder / "settings.toml").string();
    std::ofstream(path) << "[display]\nrender_scale = 0.75\nframe_skip = true\n";

    PlayerSettings settings;
    settings.Load(path);
    SettingsOverrides overrides;
    overrides.renderScale = std::optional<double>();  // --render-scale auto
    overrides.frameSkip = false;                      // --no-frame-skip
    settings.Override(overrides);
    EXPECT_EQ(settings.Chosen().renderScale, 0.75);
    EXPECT_FALSE(settings.Effective().renderScale);
    EXPECT_FALSE(settings.Effective().frameSkip);

    struct Heard {
        int music;
        bool audio, display;
    };
    std::vector<Heard> heard;
    {
        const PlayerSettings::Subscription subscription = settings.Listen([&](const Settings& s, SettingChanges c) {
            heard.push_back({s.music, c.Has(SettingGroup::Audio), c.Has(SettingGroup::Display)});
        });
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_TRUE(heard[0].audio && heard[0].display) << "everything at first";
        Settings chosen = settings.Chosen();
        chosen.music = 50;
        settings.Change(chosen);
        chosen.renderScale = 0.5;  // overridden: nothing the game plays with changes
        settings.Change(chosen);
        ASSERT_EQ(heard.size(), 2u);
        EXPECT_EQ(heard[1].music, 50);
        EXPECT_TRUE(heard[1].audio);
        EXPECT_FALSE(heard[1].display);
    }
    Settings chosen = settings.Chosen();
    chosen.music = 20;
    settings.Change(chosen);
    EXPECT_EQ(heard.size(), 2u) << "no one hears after the subscription ended";

    // Kept: the player's choices, not this run's overrides.
    EXPECT_EQ(settings.Keep(), "");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("render_scale = 0.5\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("frame_skip = true\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("music = 20\n"), std::string::npos) << text.str();

    // A save that fails says so in the player's words, naming the file; the file is as it was.
    chosen.music = 10;
    settings.Change(chosen);
    std::string failed;
    {
        const FullDisk full;  // no room for standard error's capture either, so it is not looked at
        failed = settings.Keep();
    }
    EXPECT_NE(failed.find(path), std::string::npos) << failed;
    EXPECT_NE(failed.find("the disk is full"), std::string::npos) << failed;
    std::ifstream again(path);
    std::stringstream now;
    now << again.rdbuf();
    EXPECT_EQ(now.str(), text.str());
}
