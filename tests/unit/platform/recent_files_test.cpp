// The recent files' list: what its file may hold, newest first without repeats, a file that is
// no list kept aside under a name of its own, and one that cannot be read never written over.
#include "platform/files/recent_files.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RecentFiles, TheFileHoldsAbsolutePathsOnePerLine) {
    using List = std::vector<std::string>;
    const struct {
        std::string text;
        std::optional<List> list;
    } cases[] = {
        {"", List{}},
        {"/a.dat\n/b c.dat\n", List{"/a.dat", "/b c.dat"}},
        {"/a.dat\r\n\n\n/b.dat", List{"/a.dat", "/b.dat"}},
        {"/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n", List{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}},
        {"/a.dat\nb.dat\n", std::nullopt},
        {std::string("/a\0b\n", 5), std::nullopt},
        {"/a\r\r\n", std::nullopt},  // found by the fuzzer: it would not read back the same
        {"/a\tb\n", std::nullopt},
        {"/" + std::string(platform::RecentFiles::kMaxBytes, 'x'), std::nullopt},
        {"# KORVELIN's recent files, version 1\n/a.dat\n# a note\n", List{"/a.dat"}},
        // A newer game's list: its paths are read, what this game does not know is passed over.
        {"# KORVELIN's recent files, version 2\n/a.dat\tpinned\n/b.dat\n@folder /c\n", List{"/b.dat"}},
        {"# KORVELIN's recent files, version 1\nb.dat\n", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ParseRecentFiles(c.text), c.list) << c.text.substr(0, 40);
        if (c.list) {
            EXPECT_EQ(platform::ParseRecentFiles(platform::FormatRecentFiles(*c.list)), c.list);
        }
    }
}

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvelin_recent_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        file = dir / "state" / "recent-courses";
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir, file;
};

TEST_F(RecentFilesTest, NewestFirstOnceAndKeptBetweenSessions) {
    platform::RecentFiles recent(file.string());
    recent.Load();
    EXPECT_TRUE(recent.paths().empty());
    EXPECT_TRUE(recent.message().empty()) << "no file yet is no fault";
    for (const char* path : {"/a.dat", "/b.dat", "/a.dat"}) EXPECT_TRUE(recent.Add(path)) << recent.message();
    EXPECT_EQ(Read(file), "# KORVELIN's recent files, version 1\n/a.dat\n/b.dat\n");
    for (char c = '0'; c <= '9'; ++c) recent.Add(std::string{'/', c});
    EXPECT_EQ(recent.paths().size(), platform::RecentFiles::kMax);
    EXPECT_FALSE(recent.Add("/a\nb.dat")) << "a line break would split it in two";
    EXPECT_NE(recent.paths().front(), "/a\nb.dat");

    platform::RecentFiles later(file.string());
    later.Load();
    EXPECT_EQ(later.paths(), recent.paths());
    EXPECT_EQ(later.paths().front(), "/9");
}

TEST_F(RecentFilesTest, AFileThatIsNoListIsKeptAsideAndNamed) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "not a list";
    std::ofstream(file.string() + ".unreadable") << "an earlier one";
    platform::RecentFiles recent(file.string());
    recent.Load();
    const fs::path aside = file.string() + ".unreadable-2";
    EXPECT_EQ(Read(aside), "not a list");
    EXPECT_EQ(Read(file.string() + ".unreadable"), "an earlier one") << "an earlier copy is not written over";
    EXPECT_NE(recent.message().find(aside.string()), std::string::npos) << recent.message();
    EXPECT_TRUE(recent.Add("/a.dat"));
    EXPECT_EQ(Read(file), "# KORVELIN's recent files, version 1\n/a.dat\n");
}

// A list a newer game wrote is kept beside as it was before this game writes its own; one from
// before versions is read as it always was.
TEST_F(RecentFilesTest, ANewerGamesListIsKeptBesideAndAnOlderOneRead) {
    fs::create_directories(file.parent_path());
    const std::string newer = "# KORVELIN's recent files, version 2\n/a.dat\n@pinned /b.dat\n";
    std::ofstream(file) << newer;
    platform::RecentFiles recent(file.string());
    EXPECT_TRUE(recent.Add("/c.dat")) << recent.message();
    EXPECT_EQ(Read(file.string() + ".newer"), newer);
    EXPECT_NE(recent.message().find(".newer"), std::string::npos) << recent.message();
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/c.dat", "/a.dat"}));
    std::ofstream(file, std::ios::trunc) << "/old.dat\n";
    platform::RecentFiles older(file.string());
    older.Load();
    EXPECT_EQ(older.paths(), std::vector<std::string>{"/old.dat"});
}

TEST_F(RecentFilesTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    fs::create_directories(file / "inside");  // a folder where the list should be
    platform::RecentFiles recent(file.string());
    EXPECT_FALSE(recent.Add("/a.dat"));
    EXPECT_NE(recent.message().find(file.string()), std::string::npos) << recent.message();
    EXPECT_TRUE(fs::is_directory(file / "inside"));
    EXPECT_EQ(recent.paths().front(), "/a.dat") << "remembered for this session all the same";
}

}  // namespace
