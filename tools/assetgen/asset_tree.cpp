// Builds the whole tree in memory and writes it out.
#include "asset_tree.hpp"

#include <fstream>
#include <system_error>

#include "text_raster.hpp"

AssetList BuildAssetTree() {
    const TextRaster text;
    AssetList files;
    AddCraftModels(files);
    AddGateModels(files);
    AddMapModels(files);
    AddWorldModels(files);
    AddModelTextures(files, text);
    AddHudPictures(files, text);
    AddScreenPictures(files, text);
    AddEffectPictures(files);
    AddSounds(files);
    AddCourseFiles(files);
    return files;
}

namespace {

namespace fs = std::filesystem;

bool WriteIfChanged(const fs::path& path, const std::string& bytes, std::string* error) {
    // Unchanged files keep their time stamps, so nothing downstream rebuilds for nothing.
    std::error_code ec;
    if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) == bytes.size()) {
        std::ifstream in(path, std::ios::binary);
        std::string old(bytes.size(), '\0');
        if (in.read(old.data(), static_cast<std::streamsize>(old.size())) && old == bytes) return true;
    }
    const fs::path temp = path.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            if (error) *error = "cannot write " + temp.string();
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        if (error) *error = "cannot rename " + temp.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

bool WriteFiles(const AssetList& files, const fs::path& dir, std::string* error) {
    std::error_code ec;
    for (const AssetFile& f : files) {
        const fs::path path = dir / f.path;
        fs::create_directories(path.parent_path(), ec);
        if (ec) {
            if (error) *error = "cannot create " + path.parent_path().string() + ": " + ec.message();
            return false;
        }
        if (!WriteIfChanged(path, f.bytes, error)) return false;
    }
    return true;
}

bool WriteAssetTree(const AssetList& files, const fs::path& dataDir, std::string* error) {
    if (!WriteFiles(files, dataDir, error)) return false;
    std::error_code ec;
    // The code names the picture folder both "Texture" and "texture": one folder, two names.
    const fs::path link = dataDir / "Texture";
    if (fs::is_symlink(link, ec)) {
        if (fs::read_symlink(link, ec) == fs::path("texture")) return true;
        fs::remove(link, ec);
    } else if (fs::exists(link, ec)) {
        if (error) *error = link.string() + " exists and is not the link to texture/; remove it";
        return false;
    }
    fs::create_directory_symlink("texture", link, ec);
    if (ec) {
        if (error) *error = "cannot link " + link.string() + ": " + ec.message();
        return false;
    }
    return true;
}
