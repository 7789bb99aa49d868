// korvelin-assets course without a model folder named: the maps are looked for beside the course,
// then in the game's own folder (the working folder, the build tree's game/ beside the tool's
// bin/, the installed share/korvelin/), and a tool that finds none says where it looked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "asset_tool_run.hpp"
#include "course/course_check.hpp"
#include "x_file_test_files.hpp"

namespace {

namespace fs = std::filesystem;

TEST(CourseMaps, BesideTheCourseThenTheGameFolder) {
    const TempFolder t{"korvelin_course_maps"};
    const fs::path game = KORVELIN_GAME_DIR, models = game / "data" / "model";
    // A folder of the game's meshes (or of the map alone), and a folder holding a game.
    auto modelFolder = [&](const fs::path& folder, bool all) {
        fs::create_directories(folder);
        for (const char* name : CourseMeshes::kFiles)
            if (all || name == CourseMeshes::kFiles[0]) fs::create_symlink(models / name, folder / name);
    };
    auto gameFolder = [&](const fs::path& folder) {
        modelFolder(folder / "data" / "model", true);
        fs::create_directories(folder / "Shader");
    };
    auto toolIn = [&](const fs::path& bin) {
        fs::create_directories(bin);
        fs::copy_file(KORVELIN_ASSETS_TOOL, bin / "korvelin-assets");
        return (bin / "korvelin-assets").string();
    };
    // The stock course, where it has maps beside it, the map alone, and nothing.
    const fs::path stock = game / "data" / "data" / "cpdata.dat";
    for (const char* folder : {"tree/data", "half/data", "alone"}) {
        fs::create_directories(t.path / folder);
        fs::copy_file(stock, t.path / folder / "a.dat");
    }
    modelFolder(t.path / "tree" / "model", true);
    modelFolder(t.path / "half" / "model", false);
    gameFolder(t.path / "work");
    gameFolder(t.path / "inst" / "share" / "korvelin");
    const std::string installed = toolIn(t.path / "inst" / "bin"), lonely = toolIn(t.path / "lonely" / "bin");

    const struct {
        const char* what;
        std::string tool, folder, course;
        fs::path maps;  // empty: none found
    } cases[] = {
        {"beside the course", KORVELIN_ASSETS_TOOL, t.path, "tree/data/a.dat", t.path / "tree" / "model"},
        {"the map alone beside it is no model folder", KORVELIN_ASSETS_TOOL, t.path, "half/data/a.dat", models},
        {"the build tree's game folder", KORVELIN_ASSETS_TOOL, t.path, "alone/a.dat", models},
        {"a working folder holding a game comes first", KORVELIN_ASSETS_TOOL, t.path / "work", "../alone/a.dat",
         t.path / "work" / "data" / "model"},
        {"the installed game beside the tool's bin/", installed, t.path, "alone/a.dat",
         t.path / "inst" / "share" / "korvelin" / "data" / "model"},
        {"no game anywhere", lonely, t.path, "alone/a.dat", {}},
    };
    for (const auto& c : cases) {
        const ToolResult r = RunTool("course " + Quoted(c.course), c.tool, c.folder);
        if (c.maps.empty()) {
            EXPECT_EQ(r.status, 1) << c.what << "\n" << r.out;
            EXPECT_TRUE(Has(r.out, "no maps for alone/a.dat in " + (t.path / "model").string() + " (no game folder found)"))
                << c.what << "\n" << r.out;
        } else {
            EXPECT_EQ(r.status, 0) << c.what << "\n" << r.out;
            EXPECT_TRUE(Has(r.out, "  maps: " + c.maps.string() + "\n")) << c.what << "\n" << r.out;
        }
    }
    // A folder named on the command line is the only one tried.
    const ToolResult named = RunTool("course alone/a.dat half/model", KORVELIN_ASSETS_TOOL, t.path);
    EXPECT_EQ(named.status, 1) << named.out;
    EXPECT_TRUE(Has(named.out, "mapD.x")) << named.out;
}

}  // namespace
