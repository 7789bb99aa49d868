// assetgen: writes the game's whole data tree (models, pictures, sounds, course) into a folder.
// Usage: assetgen DATA_DIR
#include <cstdio>
#include <exception>
#include <string>

#include "asset_tree.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen DATA_DIR\n");
        return 2;
    }
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
