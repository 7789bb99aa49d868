// HUD pictures: the two digit sheets, life icons, side bar, veil, hit flash and white fade.
#include <cmath>
#include <string>

#include "asset_tree.hpp"
#include "paint.hpp"
#include "text_raster.hpp"

namespace {

using paint::Color;

constexpr int kDigitW = 130, kDigitH = 180;

struct DigitStyle {
    FontFace face;
    int size;
    float slant;
    Rgba top, bottom, outline, glow;
    int outlineWidth;
};

// Ten digits side by side, each centred in its 130 x 180 cell.
Image DigitSheet(const TextRaster& text, const DigitStyle& s) {
    Image img(kDigitW * 10, kDigitH);
    for (int d = 0; d < 10; ++d) {
        const int pad = 14;
        const Mask glyph = text.Render(s.face, std::to_string(d), s.size, 0, s.slant, pad);
        const Mask outline = glyph.Grown(s.outlineWidth);
        const Mask glow = outline.Blurred(6);
        const int ox = d * kDigitW + (kDigitW - glyph.width) / 2;
        const int oy = (kDigitH - glyph.height) / 2;
        Image cell(kDigitW, kDigitH);
        const int cx = ox - d * kDigitW;
        cell.GlowMask(glow, cx, oy, s.glow, 0.9f);
        cell.BlendMask(outline, cx, oy, [&](int, int) { return s.outline; });
        const float top = static_cast<float>(oy + pad), height = static_cast<float>(glyph.height - 2 * pad);
        cell.BlendMask(glyph, cx, oy, [&](int, int y) {
            const float t = paint::Clamp01((static_cast<float>(y) - top) / height);
            return Mix(s.top, s.bottom, t);
        });
        img.Put(cell, d * kDigitW, 0);
    }
    return img;
}

// The life icon: a capsule with the craft's delta and a row of energy cells.
void LifeIcon(Image& img, int ox, bool losing) {
    const Rgba line = losing ? Color(1.0f, 0.3f, 0.18f) : Color(0.3f, 0.95f, 1.0f);
    const Rgba fill = losing ? Color(0.35f, 0.04f, 0.03f, 0.75f) : Color(0.02f, 0.12f, 0.2f, 0.75f);
    img.Paint(ox, 0, ox + 520, 180, [&](float x, float y, float* cover) {
        const float lx = x - static_cast<float>(ox);
        const float frame = paint::BoxDistance(lx, y, 260, 90, 240, 70, 40);
        const float border = std::fabs(frame) - 4.0f;
        Rgba c = fill;
        float a = Coverage(frame) * fill.a;
        // The craft: a swept delta pointing right.
        const float craft = paint::TriangleDistance(lx, y, 175, 90, 75, 42, 75, 138);
        const float notch = paint::TriangleDistance(lx, y, 100, 90, 70, 62, 70, 118);
        const float ship = std::fmax(craft, -notch);
        if (ship < 1) {
            c = Mix(c, line, Coverage(ship));
            a = std::fmax(a, Coverage(ship));
        }
        // Energy cells; the losing icon has them cracked and dim.
        for (int i = 0; i < 4; ++i) {
            const float cxCell = 235.0f + static_cast<float>(i) * 56.0f;
            const float cell = paint::BoxDistance(lx, y, cxCell, 90, 20, 36, 5);
            float lit = 1.0f;
            if (losing) lit = i == 0 ? 0.9f : 0.18f;
            if (cell < 1) {
                c = Mix(c, Color(line.r * lit, line.g * lit, line.b * lit), Coverage(cell));
                a = std::fmax(a, Coverage(cell));
            }
        }
        if (losing) {
            const float crack = std::fmin(paint::SegmentDistance(lx, y, 300, 30, 330, 95, 2.0f),
                                          paint::SegmentDistance(lx, y, 330, 95, 305, 150, 2.0f));
            c = Mix(c, Color(1, 0.9f, 0.6f), Coverage(crack));
        }
        const float edge = Coverage(border);
        c = Mix(c, Color(line.r * 1.1f, line.g * 1.1f, line.b * 1.1f), edge);
        a = std::fmax(a, edge);
        // A faint outer glow along the frame.
        a = std::fmax(a, 0.35f * paint::GlowFalloff(frame, 6.0f) * (frame > 0 ? 1.0f : 0.0f));
        *cover = a;
        return Color(c.r, c.g, c.b, 1);
    });
}

Image EmptyLife() {
    Image img(520, 180);
    img.Paint(0, 0, 520, 180, [&](float x, float y, float* cover) {
        const float frame = paint::BoxDistance(x, y, 260, 90, 240, 70, 40);
        const float border = std::fabs(frame) - 3.0f;
        const float dash = std::fmod(x + y, 24.0f) < 14.0f ? 1.0f : 0.55f;
        *cover = std::fmax(Coverage(border) * dash, Coverage(frame) * 0.35f);
        return Coverage(border) > 0.5f ? Color(0.55f, 0.62f, 0.75f) : Color(0.02f, 0.03f, 0.06f);
    });
    return img;
}

// The side bar: a slim strip of lit segments (width is eight times the height).
Image SideBar() {
    Image img(512, 64);
    img.Paint(0, 0, 512, 64, [&](float x, float y, float* cover) {
        const float body = paint::BoxDistance(x, y, 256, 32, 250, 24, 6);
        Rgba c = Color(0.02f, 0.08f, 0.14f);
        float a = Coverage(body) * 0.6f;
        const int seg = static_cast<int>(x) / 24;
        const float sx = std::fmod(x, 24.0f);
        if (x > 14 && x < 498 && sx > 4 && sx < 20 && y > 18 && y < 46) {
            const float t = static_cast<float>(seg) / 21.0f;
            c = Mix(Color(0.25f, 0.95f, 1.0f), Color(1.0f, 0.3f, 0.8f), t);
            a = 0.95f;
        }
        const float edge = Coverage(std::fabs(body) - 1.5f);
        c = Mix(c, Color(0.5f, 1, 1), edge);
        *cover = std::fmax(a, edge);
        return c;
    });
    return img;
}

// The hit flash: red closing in from the edges, clear in the middle.
Image Damage() {
    Image img(1280, 720);
    img.Paint(0, 0, 1280, 720, [&](float x, float y, float* cover) {
        const float dx = (x - 640) / 640, dy = (y - 360) / 360;
        const float r = std::sqrt(dx * dx * 0.9f + dy * dy);
        const float scan = 0.85f + 0.15f * std::sin(y * 0.8f);
        *cover = paint::SmoothStep(0.55f, 1.25f, r) * 0.9f * scan;
        return Color(1.0f, 0.08f, 0.05f);
    });
    return img;
}

}  // namespace

void AddHudPictures(AssetList& out, const TextRaster& text) {
    const DigitStyle score{FontFace::SansBold, 168, 0.0f, Color(1, 1, 1), Color(0.35f, 0.9f, 1.0f),
                           Color(0.02f, 0.05f, 0.15f), Color(0.2f, 0.8f, 1.0f), 5};
    const DigitStyle result{FontFace::MonoBold, 172, 0.16f, Color(1.0f, 0.95f, 0.6f), Color(1.0f, 0.45f, 0.1f),
                            Color(0.18f, 0.04f, 0.02f), Color(1.0f, 0.5f, 0.15f), 6};
    out.push_back({"texture/number.png", DigitSheet(text, score).EncodePng()});
    out.push_back({"texture/resultnumber.png", DigitSheet(text, result).EncodePng()});
    Image life(1040, 180);
    LifeIcon(life, 0, false);
    LifeIcon(life, 520, true);
    out.push_back({"texture/life.png", life.EncodePng()});
    out.push_back({"texture/emptylife.png", EmptyLife().EncodePng()});
    out.push_back({"texture/bar.png", SideBar().EncodePng()});
    out.push_back({"texture/black.png", Image(128, 72, Color(0, 0, 0, 1)).EncodePng()});
    out.push_back({"texture/damage.png", Damage().EncodePng()});
    out.push_back({"texture/white.png", Image(1280, 720, Color(1, 1, 1, 1)).EncodePng()});
}
