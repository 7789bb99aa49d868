// The game's icon: the title's dusk sun over its ridge, with the logo's neon K, in a rounded
// tile. Painted at each size rather than scaled, so the small ones stay sharp.
#include <algorithm>
#include <cmath>
#include <string>

#include "asset_tree.hpp"
#include "paint.hpp"
#include "screen_art.hpp"
#include "text_raster.hpp"

namespace {

using paint::Color;

Image Icon(const TextRaster& text, int size) {
    const float s = static_cast<float>(size), scale = s / 256.0f;
    Image img(size, size);
    const float half = s / 2, margin = 8 * scale, corner = 44 * scale;
    const float sunX = half, sunY = 0.40f * s, sunR = 0.30f * s, horizon = 0.70f * s;
    for (int yi = 0; yi < size; ++yi)
        for (int xi = 0; xi < size; ++xi) {
            const float x = static_cast<float>(xi) + 0.5f, y = static_cast<float>(yi) + 0.5f;
            // The tile shows the band of the title's sky around the horizon.
            Rgba c = SkyGradient(150.0f + y / s * 330.0f);
            c = DuskSun(c, x - sunX, y - sunY, sunR, scale);
            const float ridge = horizon - 0.08f * s * paint::TileFractal(x / s * 3.0f, 0.0f, 1 << 20, 3, 21u);
            if (y > ridge) {
                Rgba rock = Color(0.21f, 0.08f, 0.22f);
                rock = Mix(rock, Color(1.0f, 0.4f, 0.5f), paint::GlowFalloff(y - ridge, 1.5f * scale) * 0.8f);
                c = Mix(c, rock, paint::Clamp01(y - ridge));
            }
            img.At(xi, yi) = {paint::Clamp01(c.r), paint::Clamp01(c.g), paint::Clamp01(c.b), 1};
        }
    const Mask k = text.Render(FontFace::SansBold, "K", static_cast<int>(0.62f * s), 0.0f, 0.14f,
                               std::max(2, static_cast<int>(12 * scale)));
    NeonText(img, k, (size - k.width) / 2, (size - k.height) / 2 + static_cast<int>(0.04f * s),
             Color(0.85f, 1.0f, 1.0f), Color(1.0f, 0.6f, 0.2f), Color(1.0f, 0.3f, 0.8f),
             std::max(1, static_cast<int>(std::lround(4 * scale))));
    // Everything outside the rounded tile is transparent, glow included.
    for (int yi = 0; yi < size; ++yi)
        for (int xi = 0; xi < size; ++xi) {
            const float d = paint::BoxDistance(static_cast<float>(xi) + 0.5f, static_cast<float>(yi) + 0.5f, half,
                                               half, half - margin, half - margin, corner);
            img.At(xi, yi).a *= Coverage(d);
        }
    return img;
}

}  // namespace

AssetList BuildIcons(const std::vector<int>& sizes) {
    const TextRaster text;
    AssetList files;
    for (int size : sizes)
        files.push_back({"korvelin-" + std::to_string(size) + ".png", Icon(text, size).EncodePng()});
    return files;
}
