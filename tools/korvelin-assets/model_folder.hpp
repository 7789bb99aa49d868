// Where the course command finds the maps and gates a course is checked against, when no model
// folder is named: beside the course, then in the game's own data folder.
#pragma once

#include <filesystem>
#include <vector>

struct ModelFolderSearch {
    std::filesystem::path found;               // empty when no folder holds all the meshes
    std::vector<std::filesystem::path> tried;  // in the order looked at, for the message
};

// Looks first in the model folder beside the course's own (COURSE/../../model, as the game's
// data/data/ lies beside data/model/), then in the game's data/model: the game folder is found
// as the game finds its own, in the working folder first, then `buildGame` and `installed`
// (both relative to the tool's folder: the build tree's game/ beside bin/, the installed
// share/korvelin/). The first that holds every mesh wins.
ModelFolderSearch FindModelFolder(const std::filesystem::path& course, const std::filesystem::path& working,
                                  const std::filesystem::path& toolFolder, const std::filesystem::path& buildGame,
                                  const std::filesystem::path& installed);
