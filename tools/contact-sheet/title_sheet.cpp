// title.png: the real title scene as the player first meets it, a moment after start-up so the
// tunnel has begun to move, plus the shared file listing of the sheets.
#include <algorithm>
#include <filesystem>

#include "canvas.hpp"
#include "frame_runner.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace contact_sheet;

namespace {
constexpr int kTitleFrames = 30;  // half a second of the tunnel
}  // namespace

bool WriteTitleSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    std::vector<uint8_t> frame;
    for (int i = 0; i < kTitleFrames; ++i) frame = runner.SceneFrame();
    Canvas sheet(kFrameWidth, kFrameHeight, 0);
    sheet.Paste(frame, kFrameWidth, kFrameHeight, 0, 0, kFrameWidth, kFrameHeight, 1, 0, 0);
    return sheet.WritePng(outDir + "/title.png", error);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        if (name.size() > extension.size() && name.ends_with(extension)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}
