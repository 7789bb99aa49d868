// assetgen: writes the game's whole data tree (models, pictures, sounds, course) into a folder.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "asset_tree.hpp"
#include "korvelin_version.hpp"

namespace {

constexpr const char* kUsage =
    "usage: assetgen DATA_DIR\n"
    "\n"
    "Writes every model, picture, sound and course file of the game into DATA_DIR (files that\n"
    "are already as they should be are left alone).\n"
    "\n"
    "  --help, -h    show this text\n"
    "  --version     print the version\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view first = argc > 1 ? argv[1] : "";
    if (argc == 2 && (first == "--help" || first == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && first == "--version") {
        std::puts("assetgen " KORVELIN_VERSION);
        return 0;
    }
    // A folder name that looks like an option is a mistake, never a folder to fill.
    if (argc != 2 || first.starts_with("-")) return Usage();
    try {
        const AssetList files = BuildAssetTree();
        std::string error;
        if (!WriteAssetTree(files, argv[1], &error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
        std::printf("assetgen: %zu files in %s\n", files.size(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
