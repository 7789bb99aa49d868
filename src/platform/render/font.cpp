// FreeType text with a glyph atlas.
#include "platform/render/font.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace platform {

std::u32string DecodeUtf8(const std::string& s) {
    std::u32string out;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra && ok; ++k) {
            const unsigned char cc = s[i + k];
            ok = (cc & 0xC0) == 0x80;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

namespace {

// The file of the best installed match for a family name; empty when fontconfig knows none.
std::string FindFontFile(const std::string& family, bool requireFamily) {
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (!pattern) return path;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* file = nullptr;
        FcChar8* matchedFamily = nullptr;
        bool familyOk = !requireFamily;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matchedFamily) == FcResultMatch; ++i)
            if (family == reinterpret_cast<const char*>(matchedFamily)) familyOk = true;
        if (familyOk && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

}  // namespace

Font::Font(RenderDevice& device) : device_(device) {}

Font::~Font() { Release(); }

bool Font::Create(const std::string& family, int cellHeight, std::string* error) {
    Release();
    if (FT_Init_FreeType(&library_) != 0) {
        if (error) *error = "FreeType cannot start";
        return false;
    }
    std::vector<std::string> candidates = {FindFontFile(family, true), FindFontFile("DejaVu Sans", true),
                                           FindFontFile(family, false),
                                           "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
    for (const std::string& file : candidates) {
        if (file.empty()) continue;
        if (FT_New_Face(library_, file.c_str(), 0, &face_) == 0) {
            fileName_ = file;
            break;
        }
        face_ = nullptr;
    }
    if (!face_) {
        if (error) *error = "no font found for \"" + family + "\" nor DejaVu Sans";
        Release();
        return false;
    }
    // A cell height of N pixels: scale the em so that ascent + descent fill N.
    cellHeight_ = std::max(1, cellHeight);
    double cellUnits = double(face_->ascender - face_->descender);
    if (cellUnits <= 0) cellUnits = face_->units_per_EM;
    auto emPixels = static_cast<FT_UInt>(std::lround(cellHeight_ * face_->units_per_EM / cellUnits));
    FT_Set_Pixel_Sizes(face_, 0, std::max<FT_UInt>(1, emPixels));
    ascent_ = static_cast<int>(std::lround(face_->size->metrics.ascender / 64.0));
    atlas_.assign(size_t(kAtlasSize) * kAtlasSize * 4, 0);
    for (size_t i = 0; i < atlas_.size(); i += 4) atlas_[i] = atlas_[i + 1] = atlas_[i + 2] = 255;
    atlasTexture_ = device_.CreateTexture(kAtlasSize, kAtlasSize, 1, false);
    atlasDirty_ = true;
    for (char32_t c = 32; c < 127; ++c) GetGlyph(c);
    return true;
}

void Font::Release() {
    if (atlasTexture_) device_.ReleaseTexture(atlasTexture_);
    atlasTexture_ = 0;
    glyphs_.clear();
    penX_ = penY_ = 1;
    rowHeight_ = 0;
    if (face_) FT_Done_Face(face_);
    face_ = nullptr;
    if (library_) FT_Done_FreeType(library_);
    library_ = nullptr;
}

const Font::Glyph* Font::GetGlyph(char32_t cp) {
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end()) return &it->second;
    if (!face_ || FT_Load_Char(face_, cp, FT_LOAD_RENDER) != 0) return nullptr;
    FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    Glyph g;
    g.left = slot->bitmap_left;
    g.top = ascent_ - slot->bitmap_top;
    // Unhinted advance in 1/64 pixel: rounding each glyph would add up to a pixel a letter.
    g.advance = static_cast<int>(slot->linearHoriAdvance >> 10);
    int w = static_cast<int>(bm.width), h = static_cast<int>(bm.rows);
    if (penX_ + w + 1 > kAtlasSize) {
        penX_ = 1;
        penY_ += rowHeight_ + 1;
        rowHeight_ = 0;
    }
    if (penY_ + h + 1 > kAtlasSize) return nullptr;  // atlas full: the glyph is skipped
    g.atlas = {penX_, penY_, penX_ + w, penY_ + h};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t coverage = bm.buffer[y * bm.pitch + x];
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) coverage = (bm.buffer[y * bm.pitch + x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
            atlas_[(size_t(penY_ + y) * kAtlasSize + penX_ + x) * 4 + 3] = coverage;
        }
    penX_ += w + 1;
    rowHeight_ = std::max(rowHeight_, h);
    atlasDirty_ = true;
    return &glyphs_.emplace(cp, g).first->second;
}

void Font::UploadAtlas() {
    if (atlasDirty_ && atlasTexture_) device_.UpdateTexture(atlasTexture_, 0, atlas_.data());
    atlasDirty_ = false;
}

RectI Font::Measure(const std::string& text) {
    int width = 0;  // 1/64 pixel
    for (char32_t cp : DecodeUtf8(text))
        if (const Glyph* g = GetGlyph(cp)) width += g->advance;
    return {0, 0, (width + 63) / 64, text.empty() ? 0 : cellHeight_};
}

void Font::Draw(SpriteBatch& batch, const std::string& text, Color color) {
    if (!face_) return;
    std::u32string cps = DecodeUtf8(text);
    for (char32_t cp : cps) GetGlyph(cp);
    UploadAtlas();
    int pen = 0;  // 1/64 pixel; each glyph starts on a whole pixel so it stays sharp
    for (char32_t cp : cps) {
        const Glyph* g = GetGlyph(cp);
        if (!g) continue;
        if (g->atlas.Width() > 0)
            batch.Draw(atlasTexture_, g->atlas, color, {float((pen + 32) / 64 + g->left), float(g->top), 0.0f});
        pen += g->advance;
    }
}

}  // namespace platform
