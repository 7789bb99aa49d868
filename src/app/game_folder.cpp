// Finding the folder the game reads its files from.
#include "app/game_folder.hpp"

#include <system_error>

bool HoldsTheGame(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder / "data", ec) && std::filesystem::is_directory(folder / "Shader", ec);
}

std::filesystem::path RunningProgramFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

GameFolder FindGameFolder(const std::filesystem::path& workingFolder, const std::filesystem::path& programFolder,
                          const std::filesystem::path& installed) {
    if (HoldsTheGame(workingFolder)) return {GameFolder::Kind::Working, workingFolder};
    if (programFolder.empty()) return {};
    if (HoldsTheGame(programFolder)) return {GameFolder::Kind::Program, programFolder};
    const std::filesystem::path share = (programFolder / installed).lexically_normal();
    if (HoldsTheGame(share)) return {GameFolder::Kind::Installed, share};
    return {};
}

std::string MissingGameFiles(const std::filesystem::path& folder, bool ownCourse) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder / "data", ec) && !fs::is_directory(folder / "Shader", ec))
        return "no data/ and Shader/ in " + folder.string() + " or beside the program";
    std::string missing;
    auto need = [&](const char* name, bool folderWanted) {
        const bool there = folderWanted ? fs::is_directory(folder / name, ec) : fs::is_regular_file(folder / name, ec);
        if (!there) missing += (missing.empty() ? "" : ", ") + std::string(name);
    };
    need("data/", true);
    need("Shader/", true);
    // The three effects every picture is drawn with (graphics/game_effects.hpp).
    for (const char* effect : {"Shader/Simple.fx", "Shader/Modelshader.fx", "Shader/Blur.fx"}) need(effect, false);
    // The map and the gate every course is checked against before a run.
    for (const char* model : {"data/model/mapA.x", "data/model/CheckPoint.x"}) need(model, false);
    if (ownCourse) need("data/data/cpdata.dat", false);
    if (missing.empty()) return {};
    return (folder / "").string() + " lacks " + missing;
}
