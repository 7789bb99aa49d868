// FreeType text rendering for pictures painted on the CPU.
#include "text_raster.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

std::string FindFont(const char* pattern, const std::vector<const char*>& fallbacks) {
    std::string path;
    // A private configuration, so nothing of fontconfig's global state outlives the lookup.
    if (FcConfig* config = FcInitLoadConfigAndFonts()) {
        FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
        FcConfigSubstitute(config, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        FcPattern* match = FcFontMatch(config, pat, &result);
        FcChar8* file = nullptr;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pat);
        FcConfigDestroy(config);
    }
    // Only accept the family asked for; any other match would change the pictures.
    for (const char* f : fallbacks) {
        const std::string name = std::filesystem::path(f).filename().string();
        if (!path.empty() && std::filesystem::path(path).filename() == name) return path;
    }
    for (const char* f : fallbacks)
        if (std::filesystem::exists(f)) return f;
    return {};
}

uint32_t NextCodepoint(const std::string& s, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : 1;
    uint32_t cp = c & (0x3f >> extra);
    while (extra-- > 0 && i < s.size()) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3f);
    return cp;
}

}  // namespace

struct TextRaster::Impl {
    FT_Library library = nullptr;
    FT_Face faces[3] = {nullptr, nullptr, nullptr};
    ~Impl() {
        for (FT_Face f : faces)
            if (f) FT_Done_Face(f);
        if (library) FT_Done_FreeType(library);
    }
};

TextRaster::TextRaster() : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType cannot start");
    const std::string paths[3] = {
        FindFont("DejaVu Sans:bold", {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}),
        FindFont("DejaVu Sans Mono:bold", {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"}),
        FindFont("IPAPGothic", {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"}),
    };
    for (int i = 0; i < 3; ++i) {
        if (paths[i].empty()) continue;
        FT_New_Face(impl_->library, paths[i].c_str(), 0, &impl_->faces[i]);
    }
    if (!impl_->faces[0])
        throw std::runtime_error("no DejaVu Sans Bold font found (install fonts-dejavu-core)");
    for (FT_Face& f : impl_->faces)
        if (!f) f = nullptr;
}

TextRaster::~TextRaster() = default;

Mask TextRaster::Render(FontFace face, const std::string& text, int pixelSize, float spacing, float slant,
                        int pad) const {
    return Set(face, text, pixelSize, spacing, slant, pad, false);
}

Mask TextRaster::RenderLine(FontFace face, const std::string& text, int pixelSize, int pad) const {
    return Set(face, text, pixelSize, 0.0f, 0.0f, pad, true);
}

Mask TextRaster::Set(FontFace which, const std::string& text, int pixelSize, float spacing, float slant, int pad,
                     bool lineBox) const {
    FT_Face face = impl_->faces[static_cast<int>(which)];
    if (!face) face = impl_->faces[0];
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    FT_Matrix shear{0x10000, static_cast<FT_Fixed>(std::lround(slant * 65536.0f)), 0, 0x10000};
    FT_Set_Transform(face, &shear, nullptr);

    struct Glyph {
        std::vector<unsigned char> bits;
        int w, h, pitch, left, top;
        float penX;
    };
    std::vector<Glyph> glyphs;
    float pen = 0;
    int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
    if (lineBox) {
        minY = -static_cast<int>((face->size->metrics.ascender + 63) / 64);
        maxY = static_cast<int>((-face->size->metrics.descender + 63) / 64);
    }
    for (size_t i = 0; i < text.size();) {
        const uint32_t cp = NextCodepoint(text, i);
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        Glyph out{{}, static_cast<int>(g->bitmap.width), static_cast<int>(g->bitmap.rows), g->bitmap.pitch,
                  g->bitmap_left, g->bitmap_top, pen};
        out.bits.assign(g->bitmap.buffer, g->bitmap.buffer + static_cast<size_t>(std::abs(out.pitch)) * out.h);
        if (out.w > 0 && out.h > 0) {
            const int x0 = static_cast<int>(std::floor(pen)) + out.left;
            minX = std::min(minX, x0);
            maxX = std::max(maxX, x0 + out.w);
            minY = std::min(minY, -out.top);
            maxY = std::max(maxY, -out.top + out.h);
        }
        glyphs.push_back(std::move(out));
        pen += static_cast<float>(g->advance.x) / 64.0f + spacing;
    }
    FT_Set_Transform(face, nullptr, nullptr);
    if (minX > maxX) return Mask(1 + 2 * pad, 1 + 2 * pad);
    Mask m(maxX - minX + 2 * pad, maxY - minY + 2 * pad);
    for (const Glyph& g : glyphs)
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x) {
                const int tx = static_cast<int>(std::floor(g.penX)) + g.left + x - minX + pad;
                const int ty = -g.top + y - minY + pad;
                float& d = m.At(tx, ty);
                d = std::min(1.0f, d + static_cast<float>(g.bits[static_cast<size_t>(y) * std::abs(g.pitch) + x]) / 255.0f);
            }
    return m;
}
