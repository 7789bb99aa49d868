// The user's data and state folders from XDG_DATA_HOME, XDG_STATE_HOME and HOME, as the base
// directory rules have it.
#include "platform/files/user_data_folder.hpp"

#include <gtest/gtest.h>

TEST(UserDataFolder, XdgDataHomeThenHomeThenNone) {
    const struct {
        const char *xdg, *home, *expected;
    } cases[] = {
        {"/data/me", "/home/me", "/data/me/korvelin"},
        {nullptr, "/home/me", "/home/me/.local/share/korvelin"},
        {"", "/home/me", "/home/me/.local/share/korvelin"},                 // set but empty: unset
        {"relative/data", "/home/me", "/home/me/.local/share/korvelin"},    // relative: ignored
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::UserDataFolder(c.xdg, c.home), c.expected)
            << "XDG_DATA_HOME=" << (c.xdg ? c.xdg : "(unset)") << " HOME=" << (c.home ? c.home : "(unset)");
}

TEST(UserStateFolder, XdgStateHomeThenHome) {
    EXPECT_EQ(platform::UserStateFolder("/state/me", "/home/me"), "/state/me/korvelin");
    EXPECT_EQ(platform::UserStateFolder("state", "/home/me"), "/home/me/.local/state/korvelin");
    EXPECT_EQ(platform::UserStateFolder(nullptr, nullptr), "");
}
