// Where the game's data/ and Shader/ are: in the working folder, beside the program (the build
// tree's game folder), or in the installed share folder next to the program's bin folder.
#pragma once

#include <filesystem>
#include <string>

struct GameFolder {
    enum class Kind { None, Working, Program, Installed };
    Kind kind = Kind::None;
    std::filesystem::path path;  // the folder holding data/ and Shader/; empty for None
};

// Looks in the working folder first, then in the program's own folder, then in `installed`
// (relative to the program's folder, e.g. "../share/korvelin"). The first that holds both
// data/ and Shader/ wins.
GameFolder FindGameFolder(const std::filesystem::path& workingFolder, const std::filesystem::path& programFolder,
                          const std::filesystem::path& installed);

// Whether `folder` holds the game: both data/ and Shader/.
bool HoldsTheGame(const std::filesystem::path& folder);

// The folder of the running program (that of /proc/self/exe); empty when it cannot be told.
std::filesystem::path RunningProgramFolder();

// What the game cannot start without, as missing from `folder`: "data/", "Shader/", each of the
// three effect files, the map and the gate every course is checked against, and the game's own
// course when `ownCourse` (no other course was given).
// Empty when all are there; otherwise one line naming them.
std::string MissingGameFiles(const std::filesystem::path& folder, bool ownCourse);
