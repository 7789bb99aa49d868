// title.png: the real title scene as the player first meets it, a moment after start-up so the
// tunnel has begun to move.
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
