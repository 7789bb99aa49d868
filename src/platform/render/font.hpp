// Text for the HUD and the title: a FreeType face found with fontconfig, glyphs rendered on
// first use into an atlas texture and drawn as sprites. The size is a cell height in pixels
// (ascent plus descent), as the game's font was specified.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/render/sprite_batch.hpp"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform {

class Font {
public:
    explicit Font(RenderDevice& device);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Opens the best match for `family` (a proportional Japanese gothic by default), falling
    // back to DejaVu Sans. False with a reason when no face can be opened.
    bool Create(const std::string& family, int cellHeight, std::string* error);
    void Release();
    bool valid() const { return face_ != nullptr; }
    const std::string& fileName() const { return fileName_; }

    // The rectangle a line of UTF-8 text covers, from (0, 0).
    RectI Measure(const std::string& text);
    // Draws a line with its top-left at the sprite transform's origin.
    void Draw(SpriteBatch& batch, const std::string& text, Color color);

private:
    struct Glyph {
        RectI atlas;      // where the bitmap lies in the atlas
        int left = 0;     // bearing from the pen position
        int top = 0;      // from the cell's top
        int advance = 0;  // in 1/64 pixel
    };
    const Glyph* GetGlyph(char32_t codepoint);
    void UploadAtlas();

    RenderDevice& device_;
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
    std::string fileName_;
    int cellHeight_ = 12;
    int ascent_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
    static constexpr int kAtlasSize = 512;
    std::vector<uint8_t> atlas_;  // RGBA, white with coverage as alpha
    TextureId atlasTexture_ = 0;
    bool atlasDirty_ = false;
    int penX_ = 1, penY_ = 1, rowHeight_ = 0;
};

// Splits UTF-8 into code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& text);

}  // namespace platform
