// pictures.png: every picture of data/Texture (and data/texture, when that is a folder of its
// own) drawn as a sprite at its size, or shrunk to fit its tile, on a checkerboard so that
// transparent parts show, with its name and size.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "canvas.hpp"
#include "frame_runner.hpp"
#include "graphics/graphics_device.hpp"
#include "sheet_layout.hpp"
#include "sheets.hpp"

using namespace platform;
using namespace contact_sheet;

namespace {

constexpr int kTilesPerFrame = 4;
constexpr int kAreaWidth = kPictureTileWidth;
constexpr int kAreaHeight = kPictureTileHeight - kPictureLabelHeight;
constexpr int kSquare = 16;  // checkerboard square

// The pictures under the names the game uses, each file once.
std::vector<std::string> PictureNames() {
    std::vector<std::string> names;
    std::set<std::filesystem::path> seen;
    for (const char* folder : {"data/Texture", "data/texture"}) {
        for (const std::string& file : ListFiles(folder, ".png")) {
            const std::string name = std::string(folder) + "/" + file;
            std::error_code ec;
            const auto real = std::filesystem::canonical(name, ec);
            if (!ec && !seen.insert(real).second) continue;
            names.push_back(name);
        }
    }
    return names;
}

void FillChecker(Texture& checker) {
    std::vector<uint8_t> rgba(size_t(kAreaWidth) * kAreaHeight * 4);
    for (int y = 0; y < kAreaHeight; ++y)
        for (int x = 0; x < kAreaWidth; ++x) {
            const uint8_t v = ((x / kSquare + y / kSquare) % 2) ? 0x99 : 0x66;
            uint8_t* p = &rgba[(size_t(y) * kAreaWidth + x) * 4];
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    GraphicsDevice::Instance().device->UpdateTexture(checker.texture, 0, rgba.data());
}

}  // namespace

bool WritePictureSheet(FrameRunner& runner, const std::string& outDir, std::string* error) {
    const std::vector<std::string> names = PictureNames();
    if (names.empty()) {
        *error = "no pictures in data/Texture";
        return false;
    }
    if (names.size() != size_t(kPictureCount))
        std::fprintf(stderr, "korvelin-contact-sheet: %zu pictures, expected %d\n", names.size(), kPictureCount);
    Texture checker;
    if (!checker.CreateTarget(kAreaWidth, kAreaHeight, 1, TextureUsage::None)) {
        *error = "cannot make the checkerboard texture";
        return false;
    }
    FillChecker(checker);
    const int count = int(names.size());
    Canvas sheet(SheetWidth(kPictureTileWidth, kPictureColumns),
                 SheetHeight(kPictureTileHeight, count, kPictureColumns), kGutterColor);
    GraphicsDevice& gd = GraphicsDevice::Instance();
    for (int first = 0; first < count; first += kTilesPerFrame) {
        const int inFrame = std::min(kTilesPerFrame, count - first);
        FrameDrawing drawing;
        drawing.preDraw = [] {
            GraphicsDevice::Instance().device->SetTransform(TransformType::View, Matrix::Identity());
        };
        drawing.draw2d = [&] {
            for (int i = 0; i < inFrame; ++i) {
                const std::string& name = names[size_t(first + i)];
                const float x = float((i % 2) * kPictureTileWidth), y = float((i / 2) * kPictureTileHeight);
                const Texture* picture = runner.services().assets().textures.Get(name);
                const int w = int(picture->imageInfo.width), h = int(picture->imageInfo.height);
                const float scale = std::min({1.0f, float(kAreaWidth - 4) / float(std::max(w, 1)),
                                              float(kAreaHeight - 4) / float(std::max(h, 1))});
                char text[160];
                if (!picture->texture)
                    std::snprintf(text, sizeof text, "%s  (did not load)", name.c_str());
                else if (scale < 1.0f)
                    std::snprintf(text, sizeof text, "%s  %d x %d  shown at %d%%", name.c_str(), w, h, int(scale * 100));
                else
                    std::snprintf(text, sizeof text, "%s  %d x %d", name.c_str(), w, h);
                runner.Box(x, y, kPictureTileWidth, kPictureLabelHeight, 0xFF000000);
                const Matrix at = MatrixTranslation(x, y + kPictureLabelHeight, 0);
                gd.DrawSprite(&checker, 0xFFFFFFFF, &at);
                const float px = x + (kAreaWidth - float(w) * scale) * 0.5f;
                const float py = y + kPictureLabelHeight + (kAreaHeight - float(h) * scale) * 0.5f;
                const Matrix place = MatrixScaling(scale, scale, 1) * MatrixTranslation(px, py, 0);
                // A thin frame shows where the picture ends, clear of its own pixels.
                const float pw = float(w) * scale, ph = float(h) * scale;
                if (picture->texture) {
                    constexpr uint32_t kFrameColor = 0xFFFFD000;
                    runner.Box(px - 1, py - 1, pw + 2, 1, kFrameColor);
                    runner.Box(px - 1, py + ph, pw + 2, 1, kFrameColor);
                    runner.Box(px - 1, py, 1, ph, kFrameColor);
                    runner.Box(px + pw, py, 1, ph, kFrameColor);
                }
                gd.DrawSprite(picture, 0xFFFFFFFF, &place);
                runner.Label(text, x + 2, y + 1, 1.0f);
            }
        };
        const std::vector<uint8_t> frame = runner.Frame(drawing);
        for (int i = 0; i < inFrame; ++i) {
            const int tile = first + i;
            sheet.Paste(frame, kFrameWidth, kFrameHeight, (i % 2) * kPictureTileWidth, (i / 2) * kPictureTileHeight,
                        kPictureTileWidth, kPictureTileHeight, 1, TileX(tile, kPictureTileWidth, kPictureColumns),
                        TileY(tile, kPictureTileHeight, kPictureColumns));
        }
    }
    checker.Release();
    return sheet.WritePng(outDir + "/pictures.png", error);
}
