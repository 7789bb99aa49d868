// The model folder for a course: beside the course, else the game's own.
#include "model_folder.hpp"

#include <system_error>

#include "app/game_folder.hpp"
#include "course/course_check.hpp"

namespace fs = std::filesystem;

namespace {

bool HoldsTheMeshes(const fs::path& folder) {
    std::error_code ec;
    for (const char* name : CourseMeshes::kFiles)
        if (!fs::is_regular_file(folder / name, ec)) return false;
    return true;
}

}  // namespace

ModelFolderSearch FindModelFolder(const fs::path& course, const fs::path& working, const fs::path& toolFolder,
                                  const fs::path& buildGame, const fs::path& installed) {
    ModelFolderSearch search;
    std::error_code ec;
    const fs::path courseFolder = fs::absolute(course, ec).parent_path();
    search.tried.push_back((courseFolder.parent_path() / "model").lexically_normal());
    std::vector<fs::path> games{working};
    if (!toolFolder.empty()) {
        games.push_back((toolFolder / buildGame).lexically_normal());
        games.push_back((toolFolder / installed).lexically_normal());
    }
    for (const fs::path& game : games)
        if (HoldsTheGame(game)) {
            search.tried.push_back(game / "data" / "model");
            break;
        }
    for (const fs::path& folder : search.tried)
        if (HoldsTheMeshes(folder)) {
            search.found = folder;
            break;
        }
    return search;
}
