// Where the game finds data/ and Shader/: started in its folder, started elsewhere from a build
// tree, and installed as bin/ and share/korvelin/ (moved as a whole or not).
#include "app/game_folder.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(GameFolder, WorkingFolderThenProgramFolderThenInstalledShare) {
    const fs::path root = fs::temp_directory_path() / ("korvelin_game_folder_" + std::to_string(::getpid()));
    fs::remove_all(root);
    auto makeGame = [&](const fs::path& folder) {
        fs::create_directories(root / folder / "data");
        fs::create_directories(root / folder / "Shader");
    };
    makeGame("build/game");                   // a build tree: the program beside its files
    makeGame("opt/share/korvelin");           // an installed tree, bin/ beside share/
    fs::create_directories(root / "opt/bin");
    makeGame("elsewhere");                    // a folder of the user's that holds a game too
    fs::create_directories(root / "home/only-data/data");  // half a game is none
    fs::create_directories(root / "empty/bin");

    using Kind = GameFolder::Kind;
    const struct {
        const char* what;
        fs::path working, program;
        Kind kind;
        fs::path folder;
    } cases[] = {
        {"started in the build tree's game folder", "build/game", "build/game", Kind::Working, "build/game"},
        {"started elsewhere, the build tree's program", "home", "build/game", Kind::Program, "build/game"},
        {"started elsewhere, the installed program", "home", "opt/bin", Kind::Installed, "opt/share/korvelin"},
        {"a working folder holding a game wins", "elsewhere", "opt/bin", Kind::Working, "elsewhere"},
        {"data/ without Shader/ is not a game", "home/only-data", "opt/bin", Kind::Installed, "opt/share/korvelin"},
        {"nothing anywhere", "home", "empty/bin", Kind::None, ""},
    };
    for (const auto& c : cases) {
        const GameFolder found = FindGameFolder(root / c.working, root / c.program, "../share/korvelin");
        EXPECT_EQ(found.kind, c.kind) << c.what;
        EXPECT_EQ(found.path, c.folder.empty() ? fs::path() : root / c.folder) << c.what;
    }

    // The installed tree moved as a whole still finds its files.
    fs::rename(root / "opt", root / "moved");
    const GameFolder moved = FindGameFolder(root / "home", root / "moved/bin", "../share/korvelin");
    EXPECT_EQ(moved.kind, Kind::Installed);
    EXPECT_EQ(moved.path, root / "moved/share/korvelin");
    fs::remove_all(root);
}

// What the game cannot start without is named, all of it in one line.
TEST(GameFolder, MissingFilesAreNamedTogether) {
    const fs::path root = fs::temp_directory_path() / ("korvelin_missing_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    EXPECT_EQ(MissingGameFiles(root, true), "no data/ and Shader/ in " + root.string() + " or beside the program");
    fs::create_directories(root / "Shader");
    EXPECT_EQ(MissingGameFiles(root, true),
              (root / "").string() + " lacks data/, Shader/Simple.fx, Shader/Modelshader.fx, Shader/Blur.fx, "
                                     "data/model/mapA.x, data/model/CheckPoint.x, data/data/cpdata.dat");
    for (const char* file : {"Shader/Simple.fx", "Shader/Modelshader.fx", "Shader/Blur.fx", "data/model/mapA.x",
                             "data/model/CheckPoint.x"}) {
        fs::create_directories((root / file).parent_path());
        std::FILE* f = std::fopen((root / file).c_str(), "w");
        std::fclose(f);
    }
    EXPECT_EQ(MissingGameFiles(root, true), (root / "").string() + " lacks data/data/cpdata.dat");
    EXPECT_EQ(MissingGameFiles(root, false), "") << "another course was given";
    fs::remove_all(root);
}

}  // namespace
