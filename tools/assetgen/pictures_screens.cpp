// Full-screen pictures and captions: the dusk sky, the title logo, the start prompt, the result,
// the pause, and the captions of the demo and of the best runs.
#include <cmath>
#include <string>

#include "asset_tree.hpp"
#include "paint.hpp"
#include "screen_art.hpp"
#include "text_raster.hpp"

using paint::Color;

Rgba SkyGradient(float y) {
    struct Stop {
        float y;
        Rgba c;
    };
    const Stop stops[] = {{0, Color(0.03f, 0.02f, 0.1f)},     {180, Color(0.12f, 0.04f, 0.24f)},
                          {300, Color(0.5f, 0.1f, 0.42f)},    {370, Color(0.98f, 0.42f, 0.3f)},
                          {410, Color(1.0f, 0.72f, 0.38f)},   {430, Color(0.35f, 0.08f, 0.3f)},
                          {720, Color(0.06f, 0.02f, 0.1f)}};
    for (size_t i = 0; i + 1 < std::size(stops); ++i)
        if (y <= stops[i + 1].y) return Mix(stops[i].c, stops[i + 1].c, (y - stops[i].y) / (stops[i + 1].y - stops[i].y));
    return stops[std::size(stops) - 1].c;
}

Rgba DuskSun(Rgba c, float dx, float dy, float radius, float scale) {
    const float r = std::sqrt(dx * dx + dy * dy);
    const float glow = 0.55f * paint::GlowFalloff(r - radius, 70.0f * scale);
    c = {c.r + glow * 1.0f, c.g + glow * 0.45f, c.b + glow * 0.35f, 1};
    if (r < radius + 1) {
        const float t = paint::Clamp01((dy + radius) / (2 * radius));
        const Rgba sun = Mix(Color(1.0f, 0.95f, 0.55f), Color(1.0f, 0.25f, 0.55f), t);
        const float band = std::fmod(dy, 22.0f * scale);
        const float cutWidth = dy > 0 ? 2.0f * scale + dy / (14.0f * scale) : 0.0f;
        const float inside = Coverage(r - radius) * (dy > 0 && band < cutWidth ? 0.0f : 1.0f);
        c = Mix(c, sun, inside);
    }
    return c;
}

void NeonText(Image& img, const Mask& glyph, int ox, int oy, Rgba top, Rgba bottom, Rgba glow, int outline) {
    const Mask grown = glyph.Grown(outline);
    img.GlowMask(grown.Blurred(8), ox, oy, glow, 0.9f);
    img.BlendMask(grown, ox, oy, [&](int, int) { return Color(0.03f, 0.02f, 0.08f); });
    img.BlendMask(glyph, ox, oy, [&](int, int y) {
        const float t = paint::Clamp01(static_cast<float>(y - oy) / static_cast<float>(glyph.height));
        // A chrome horizon line across the middle of the letters.
        if (t > 0.5f && t < 0.54f) return Color(1, 1, 1);
        return t < 0.5f ? Mix(top, Color(0.1f, 0.2f, 0.55f), t * 2) : Mix(Color(0.9f, 0.3f, 0.75f), bottom, (t - 0.5f) * 2);
    });
}

namespace {

// The sky behind the 3D world: dusk gradient, striped sun, stars and far ridges.
Image Sky() {
    Image img(1280, 720);
    const float sunX = 640, sunY = 300, sunR = 130, horizon = 415;
    for (int yi = 0; yi < 720; ++yi)
        for (int xi = 0; xi < 1280; ++xi) {
            const float x = static_cast<float>(xi) + 0.5f, y = static_cast<float>(yi) + 0.5f;
            Rgba c = SkyGradient(y);
            // Stars, fading out towards the warm horizon.
            const uint32_t key = static_cast<uint32_t>(yi * 1280 + xi);
            if (paint::Random(key) > 0.9985f && y < 330) {
                const float s = (1.0f - y / 330.0f) * (0.5f + 0.5f * paint::Random(key + 7u));
                c = Mix(c, Color(1, 0.95f, 1), s);
            }
            c = DuskSun(c, x - sunX, y - sunY, sunR, 1.0f);
            // Far ridges: two layers of dark rock with a lit rim.
            for (int layer = 0; layer < 2; ++layer) {
                const float f = layer == 0 ? 0.004f : 0.009f;
                const float ridge = horizon - (layer == 0 ? 55.0f : 25.0f) *
                                                  paint::TileFractal(x * f, static_cast<float>(layer) * 3.0f, 1 << 20, 4, 21u + layer);
                if (y > ridge) {
                    const float shade = layer == 0 ? 0.16f : 0.08f;
                    Rgba rock = Color(shade * 1.3f, shade * 0.5f, shade * 1.4f);
                    const float rim = paint::GlowFalloff(y - ridge, 1.5f) * (layer == 0 ? 0.8f : 0.6f);
                    rock = Mix(rock, Color(1.0f, 0.4f, 0.5f), rim);
                    c = Mix(c, rock, paint::Clamp01(y - ridge));
                }
            }
            img.At(xi, yi) = {paint::Clamp01(c.r), paint::Clamp01(c.g), paint::Clamp01(c.b), 1};
        }
    return img;
}

Image Title(const TextRaster& text) {
    Image img(640, 200);
    int size = 124;
    Mask logo = text.Render(FontFace::SansBold, "KORVELIN", size, 4.0f, 0.14f, 16);
    while (logo.width > 620 && size > 40) logo = text.Render(FontFace::SansBold, "KORVELIN", size -= 4, 4.0f, 0.14f, 16);
    const int ox = (640 - logo.width) / 2, oy = 12;
    NeonText(img, logo, ox, oy, Color(0.85f, 1.0f, 1.0f), Color(1.0f, 0.6f, 0.2f), Color(1.0f, 0.3f, 0.8f), 4);
    // A neon rule under the logo.
    img.Paint(0, 160, 640, 200, [&](float x, float y, float* cover) {
        const float d = paint::SegmentDistance(x, y, 60, 178, 580, 178, 1.5f);
        *cover = std::fmax(Coverage(d), 0.6f * paint::GlowFalloff(d, 4.0f));
        return Mix(Color(0.3f, 0.95f, 1.0f), Color(1.0f, 0.3f, 0.8f), x / 640);
    });
    return img;
}

Image StartPrompt(const TextRaster& text) {
    Image img(280, 64);
    const Mask words = text.Render(FontFace::SansBold, "PRESS SPACE", 25, 2.0f, 0.0f, 8);
    const int ox = (280 - words.width) / 2, oy = (64 - words.height) / 2;
    img.GlowMask(words.Blurred(5), ox, oy, Color(0.25f, 0.9f, 1.0f), 1.0f);
    img.BlendMask(words, ox, oy, [&](int, int) { return Color(1, 1, 1); });
    img.Paint(0, 0, 280, 64, [&](float x, float y, float* cover) {
        const float l = paint::TriangleDistance(x, y, 8, 22, 8, 42, 22, 32);
        const float r = paint::TriangleDistance(x, y, 272, 22, 272, 42, 258, 32);
        *cover = Coverage(std::fmin(l, r));
        return Color(1.0f, 0.35f, 0.8f);
    });
    return img;
}

// The result caption, drawn at the origin over the darkened view: a heading, and labels
// left of where the score, the lives and the total come to rest.
Image ResultCaption(const TextRaster& text) {
    Image img(1280, 720);
    const Mask head = text.Render(FontFace::SansBold, "RESULT", 84, 8.0f, 0.12f, 14);
    NeonText(img, head, (1280 - head.width) / 2, 40, Color(0.9f, 1.0f, 1.0f), Color(1.0f, 0.6f, 0.2f),
             Color(0.25f, 0.8f, 1.0f), 3);
    struct Label {
        const char* text;
        int centreY;
    };
    const Label labels[] = {{"SCORE", 188}, {"LIFE BONUS  x2000", 360}, {"TOTAL", 532}};
    for (const Label& l : labels) {
        const Mask m = text.Render(FontFace::SansBold, l.text, 34, 2.0f, 0.0f, 6);
        const int right = 940, ox = right - m.width, oy = l.centreY - m.height / 2;
        img.GlowMask(m.Blurred(4), ox, oy, Color(1.0f, 0.35f, 0.8f), 0.8f);
        img.BlendMask(m, ox, oy, [&](int, int) { return Color(1, 0.95f, 1); });
        img.Paint(560, l.centreY + 24, 1240, l.centreY + 30, [&](float x, float y, float* cover) {
            const float d = paint::SegmentDistance(x, y, 600, l.centreY + 27.0f, 1230, l.centreY + 27.0f, 1.0f);
            *cover = Coverage(d) * paint::SmoothStep(560, 760, x);
            return Color(0.3f, 0.9f, 1.0f);
        });
    }
    return img;
}

// The pause caption, drawn in the middle of the dimmed, frozen view in the result's lettering.
Image PauseCaption(const TextRaster& text) {
    Image img(560, 160);
    const Mask head = text.Render(FontFace::SansBold, "PAUSE", 84, 8.0f, 0.12f, 14);
    NeonText(img, head, (560 - head.width) / 2, (160 - head.height) / 2, Color(0.9f, 1.0f, 1.0f),
             Color(1.0f, 0.6f, 0.2f), Color(0.25f, 0.8f, 1.0f), 3);
    return img;
}

// A short caption in the result heading's neon: "DEMO" over the pilot's runs, "NEW BEST" on the
// result of a run that entered the best list, "BEST" beside the title's best score.
Image Caption(const TextRaster& text, const char* words, int width, int height, int size) {
    Image img(width, height);
    const Mask m = text.Render(FontFace::SansBold, words, size, 6.0f, 0.12f, 12);
    NeonText(img, m, (width - m.width) / 2, (height - m.height) / 2, Color(0.9f, 1.0f, 1.0f),
             Color(1.0f, 0.6f, 0.2f), Color(0.25f, 0.8f, 1.0f), 3);
    return img;
}

// "NOT SAVED" where "NEW BEST" would stand, when the best list could not be written: the same
// lettering in a warning's orange and red, with a red glow.
Image WarningCaption(const TextRaster& text, const char* words, int width, int height, int size) {
    Image img(width, height);
    const Mask m = text.Render(FontFace::SansBold, words, size, 6.0f, 0.12f, 12);
    NeonText(img, m, (width - m.width) / 2, (height - m.height) / 2, Color(1.0f, 0.85f, 0.4f),
             Color(1.0f, 0.25f, 0.15f), Color(1.0f, 0.2f, 0.1f), 3);
    return img;
}

}  // namespace

void AddScreenPictures(AssetList& out, const TextRaster& text) {
    out.push_back({"texture/back.png", Sky().EncodePng()});
    out.push_back({"texture/title.png", Title(text).EncodePng()});
    out.push_back({"texture/start.png", StartPrompt(text).EncodePng()});
    out.push_back({"texture/result.png", ResultCaption(text).EncodePng()});
    out.push_back({"texture/pause.png", PauseCaption(text).EncodePng()});
    out.push_back({"texture/demo.png", Caption(text, "DEMO", 320, 110, 72).EncodePng()});
    out.push_back({"texture/newbest.png", Caption(text, "NEW BEST", 520, 110, 64).EncodePng()});
    out.push_back({"texture/notsaved.png", WarningCaption(text, "NOT SAVED", 560, 110, 64).EncodePng()});
    out.push_back({"texture/best.png", Caption(text, "BEST", 220, 90, 48).EncodePng()});
}
