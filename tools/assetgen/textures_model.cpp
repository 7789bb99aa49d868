// Textures the models name, written beside them in data/model/ (power-of-two sizes, tileable).
#include <cmath>

#include "asset_tree.hpp"
#include "paint.hpp"
#include "text_raster.hpp"

namespace {

using paint::Color;

// Dark rock: layered noise with fine cracks; tiles seamlessly.
Image Rock() {
    const int n = 512;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float u = static_cast<float>(x) / n * 8, v = static_cast<float>(y) / n * 8;
            const float base = paint::TileFractal(u, v, 8, 5, 3u);
            const float crack = std::fabs(paint::TileFractal(u * 0.5f, v * 0.5f, 4, 3, 9u) - 0.5f);
            const float seam = paint::SmoothStep(0.0f, 0.03f, crack);
            const float l = (0.45f + 0.55f * base) * (0.55f + 0.45f * seam);
            img.At(x, y) = Color(l * 0.92f, l * 0.85f, l, 1.0f);
        }
    return img;
}

// The glowing grid: bright lines on black along the tile's edges (added over the ground).
Image Grid() {
    const int n = 256;
    Image img(n, n, Color(0, 0, 0, 1));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            auto edge = [&](int p) { return static_cast<float>(std::min(p, n - 1 - p)); };
            const float d = std::fmin(edge(x), edge(y));
            const float core = paint::Clamp01(1.5f - d);
            const float glow = 0.55f * paint::GlowFalloff(d, 3.5f);
            const float sub = std::fmin(std::fabs(static_cast<float>(x) - n / 2.0f), std::fabs(static_cast<float>(y) - n / 2.0f));
            const float minor = 0.18f * paint::Clamp01(1.0f - sub);
            const float l = paint::Clamp01(core + glow + minor);
            img.At(x, y) = Color(l * 0.3f + core * 0.7f, l * 0.9f + core * 0.1f, l, 1.0f);
        }
    return img;
}

// The craft's hull: light panels with thin seams and a few warning stripes.
Image Hull() {
    const int n = 256;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const bool seam = x % 64 == 0 || y % 48 == 0 || (x + y) % 128 == 0;
            const float grain = 0.9f + 0.1f * paint::TileNoise(static_cast<float>(x) / 16, static_cast<float>(y) / 16, 16, 5u);
            Rgba c = Color(grain, grain, grain * 1.03f);
            if (seam) c = Color(0.45f, 0.47f, 0.55f);
            if (y > 200 && y < 216 && ((x / 12) % 2 == 0)) c = Color(1.0f, 0.45f, 0.1f);
            img.At(x, y) = c;
        }
    return img;
}

// Tunnel panels: dark plates, glowing seams and a chevron on each half.
Image TunnelPanel() {
    const int w = 256, h = 512;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float plate = 0.16f + 0.06f * paint::TileNoise(fx / 32, fy / 32, 8, 17u);
            Rgba c = Color(plate * 0.9f, plate, plate * 1.4f);
            const float seamD = std::fmin(std::fmin(fx, w - 1 - fx), std::fmin(static_cast<float>(y % 128), 127 - static_cast<float>(y % 128)));
            const float seam = paint::GlowFalloff(seamD, 2.0f);
            c = Mix(c, Color(0.3f, 0.85f, 1.0f), seam * 0.8f);
            const float cy = static_cast<float>(y % 256);
            const float chevron = std::fabs(std::fabs(fx - 128) * 0.6f - (cy - 100)) ;
            if (cy > 90 && cy < 190 && std::fabs(fx - 128) < 70) c = Mix(c, Color(1.0f, 0.3f, 0.75f), paint::Clamp01(1.0f - chevron / 6) * 0.9f);
            img.At(x, y) = c;
        }
    return img;
}

// The editor's marker sheet: 4 x 2 labelled cells.
Image MarkerSheet(const TextRaster& text) {
    Image img(1024, 512);
    const char* labels[8] = {"GATE", "START", "GOAL", "TRIGGER", "E-GATE", "SPAWN", "JOIN", ""};
    const Rgba tints[8] = {Color(0.3f, 0.7f, 1), Color(0.3f, 1, 0.45f), Color(1, 0.25f, 0.2f), Color(1, 0.85f, 0.2f),
                           Color(1, 0.3f, 0.8f), Color(1, 0.55f, 0.12f), Color(1, 0.3f, 0.8f), Color(0.5f, 0.5f, 0.5f)};
    for (int i = 0; i < 8; ++i) {
        const int ox = (i % 4) * 256, oy = (i / 4) * 256;
        const Rgba t = tints[i];
        img.Paint(ox, oy, ox + 256, oy + 256, [&](float x, float y, float* cover) {
            const float d = paint::BoxDistance(x, y, ox + 128.0f, oy + 128.0f, 120, 120, 10);
            const float border = std::fabs(d + 4) - 3;
            *cover = 1.0f;
            const float inside = paint::Clamp01(-d);
            Rgba c = Color(t.r * 0.25f, t.g * 0.25f, t.b * 0.25f, 0.35f * inside);
            return Mix(c, Color(t.r, t.g, t.b, 1), paint::Clamp01(0.5f - border));
        });
        if (labels[i][0] == '\0') continue;
        Mask m = text.Render(FontFace::SansBold, labels[i], 48);
        if (m.width > 220) m = text.Render(FontFace::SansBold, labels[i], 36);
        img.BlendMask(m, ox + 128 - m.width / 2, oy + 128 - m.height / 2, [&](int, int) { return Color(1, 1, 1, 1); });
    }
    return img;
}

}  // namespace

void AddModelTextures(AssetList& out, const TextRaster& text) {
    out.push_back({"model/terrain.png", Rock().EncodePng()});
    out.push_back({"model/grid.png", Grid().EncodePng()});
    out.push_back({"model/craft.png", Hull().EncodePng()});
    out.push_back({"model/tunnel.png", TunnelPanel().EncodePng()});
    out.push_back({"model/markers.png", MarkerSheet(text).EncodePng()});
}
