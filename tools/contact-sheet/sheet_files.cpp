// The file listing the sheets share.
#include <algorithm>
#include <filesystem>

#include "sheets.hpp"

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        if (name.size() > extension.size() && name.ends_with(extension)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}
