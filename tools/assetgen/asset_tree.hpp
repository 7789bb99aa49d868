// The generated asset tree: every file as bytes under its path below data/.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct AssetFile {
    std::string path;   // relative to the data folder, e.g. "model/chara.x"
    std::string bytes;
};
using AssetList = std::vector<AssetFile>;

class TextRaster;

// Each part of the world adds its files.
void AddCraftModels(AssetList& out);
void AddGateModels(AssetList& out);
void AddMapModels(AssetList& out);
void AddWorldModels(AssetList& out);
void AddModelTextures(AssetList& out, const TextRaster& text);
void AddHudPictures(AssetList& out, const TextRaster& text);
void AddScreenPictures(AssetList& out, const TextRaster& text);
void AddEffectPictures(AssetList& out);
void AddSounds(AssetList& out);
void AddCourseFiles(AssetList& out);

// Builds every file in memory (deterministic bytes).
AssetList BuildAssetTree();

// Writes the tree into dataDir: files, the "Texture" link to "texture", nothing else touched.
bool WriteAssetTree(const AssetList& files, const std::filesystem::path& dataDir, std::string* error);
// Writes the files into dir, leaving those that are already as they should be alone.
bool WriteFiles(const AssetList& files, const std::filesystem::path& dir, std::string* error);

// The game's icon at each size, in pixels: "korvelin-SIZE.png" each.
AssetList BuildIcons(const std::vector<int>& sizes);
