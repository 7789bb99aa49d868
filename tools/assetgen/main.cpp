// assetgen: writes the game's whole data tree (models, pictures, sounds, course) into a folder,
// or the game's icons into another.
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "asset_tree.hpp"
#include "korvelin_version.hpp"

namespace {

constexpr const char* kUsage =
    "usage: assetgen DATA_DIR\n"
    "       assetgen --icons ICON_DIR SIZE...\n"
    "\n"
    "Writes every model, picture, sound and course file of the game into DATA_DIR (files that\n"
    "are already as they should be are left alone), or with --icons the game's icon at each\n"
    "SIZE (16 to 1024 pixels) as ICON_DIR/korvelin-SIZE.png.\n"
    "\n"
    "  --icons DIR SIZE...   write the icons instead of the data tree\n"
    "  --help, -h            show this text\n"
    "  --version             print the version\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool ParseSize(std::string_view text, int* size) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *size);
    return ec == std::errc() && end == text.data() + text.size() && *size >= 16 && *size <= 1024;
}

// Builds the files and writes them; the exit status.
template <typename Build, typename Write>
int Generate(const char* outDir, Build build, Write write) {
    try {
        const AssetList files = build();
        std::string error;
        if (!write(files, outDir, &error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
        std::printf("assetgen: %zu files in %s\n", files.size(), outDir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
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
    if (first == "--icons") {
        std::vector<int> sizes;
        for (int i = 3; i < argc; ++i) {
            int size = 0;
            if (!ParseSize(argv[i], &size)) return Usage();
            sizes.push_back(size);
        }
        if (sizes.empty()) return Usage();
        return Generate(argv[2], [&] { return BuildIcons(sizes); }, WriteFiles);
    }
    // A folder name that looks like an option is a mistake, never a folder to fill.
    if (argc != 2 || first.starts_with("-")) return Usage();
    return Generate(argv[1], BuildAssetTree, WriteAssetTree);
}
