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
