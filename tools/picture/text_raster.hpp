// Text set in a Debian font with FreeType, as a coverage mask.
#pragma once

#include <memory>
#include <string>

#include "image.hpp"

enum class FontFace { SansBold, MonoBold, Japanese };

class TextRaster {
public:
    // Finds the face through fontconfig, falling back to the fixed Debian paths; throws with a
    // clear message when no font can be opened.
    TextRaster();
    ~TextRaster();
    TextRaster(const TextRaster&) = delete;
    TextRaster& operator=(const TextRaster&) = delete;

    // The text (UTF-8) at a pixel size, with extra letter spacing and a slant (x shift per
    // unit of height). The mask is cropped to the inked box plus `pad` pixels each side.
    Mask Render(FontFace face, const std::string& text, int pixelSize, float spacing = 0.0f,
                float slant = 0.0f, int pad = 0) const;
    // The same, upright, but the mask spans the face's whole line height (ascender to
    // descender), so lines of any letters set side by side share their baseline.
    Mask RenderLine(FontFace face, const std::string& text, int pixelSize, int pad = 0) const;

private:
    Mask Set(FontFace face, const std::string& text, int pixelSize, float spacing, float slant, int pad,
             bool lineBox) const;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
