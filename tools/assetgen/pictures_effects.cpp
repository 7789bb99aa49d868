// Effect sprites and the reticle: explosion strip, muzzle flashes, reticle parts and the arrow.
#include <cmath>

#include "asset_tree.hpp"
#include "paint.hpp"

namespace {

using paint::Color;
constexpr float kPi = 3.14159265358979f;

// 16 explosion frames of 128 x 128 side by side: a white-hot flash that swells into an
// orange fireball, breaks up and fades to embers.
Image ExplosionStrip() {
    const int n = 128;
    Image img(16 * n, n);
    for (int f = 0; f < 16; ++f) {
        const float t = static_cast<float>(f) / 15.0f;
        const float radius = 18.0f + 42.0f * std::sqrt(t);
        img.Paint(f * n, 0, (f + 1) * n, n, [&](float x, float y, float* cover) {
            const float lx = x - static_cast<float>(f * n) - 64, ly = y - 64;
            const float r = std::sqrt(lx * lx + ly * ly);
            const float a = std::atan2(ly, lx);
            const float turb = paint::TileFractal((a / kPi + 1) * 4, r / 18 - t * 3, 8, 3, 40u + f);
            const float edge = radius * (0.75f + 0.45f * turb);
            float body = paint::SmoothStep(edge, edge * 0.55f, r);
            // The fireball hollows out as it burns away.
            body *= 1.0f - paint::SmoothStep(0.45f, 1.0f, t) * paint::SmoothStep(edge * 0.7f, 0.0f, r) * 0.8f;
            const float heat = paint::Clamp01(1.2f - t * 1.1f - r / (radius * 2.2f));
            Rgba c = Mix(Color(0.6f, 0.08f, 0.04f), Color(1.0f, 0.55f, 0.15f), paint::Clamp01(heat * 1.6f));
            c = Mix(c, Color(1.0f, 0.97f, 0.8f), paint::Clamp01(heat * 2.0f - 1.0f));
            // Sparks flying out.
            float spark = 0;
            for (int s = 0; s < 10; ++s) {
                const float sa = paint::Random(static_cast<uint32_t>(s * 31 + 5)) * 2 * kPi;
                const float sr = radius * (0.8f + 0.6f * paint::Random(static_cast<uint32_t>(s * 17 + 3))) * (0.6f + t);
                const float sx = std::cos(sa) * sr, sy = std::sin(sa) * sr;
                const float d = std::sqrt((lx - sx) * (lx - sx) + (ly - sy) * (ly - sy));
                spark = std::fmax(spark, paint::GlowFalloff(d - 1.0f, 1.5f) * (1.0f - t));
            }
            *cover = paint::Clamp01(body * (1.0f - t * 0.75f) + spark);
            return spark > body ? Color(1.0f, 0.85f, 0.5f) : c;
        });
    }
    return img;
}

// Muzzle flashes: frames 0..7 of 100 x 100 in the upper half; frame n is shown n frames
// before the flash ends, so higher frames are fresher and brighter.
Image MuzzleFlashes() {
    Image img(800, 200);
    for (int f = 0; f < 8; ++f) {
        const float life = static_cast<float>(f) / 7.0f;
        img.Paint(f * 100, 0, f * 100 + 100, 100, [&](float x, float y, float* cover) {
            const float lx = x - static_cast<float>(f * 100) - 50, ly = y - 50;
            const float r = std::sqrt(lx * lx + ly * ly);
            const float a = std::atan2(ly, lx) + static_cast<float>(f) * 0.4f;
            const float rays = std::pow(std::fabs(std::cos(a * 3.0f)), 12.0f);
            const float reach = 12.0f + 36.0f * life;
            const float core = paint::GlowFalloff(r, 4.0f + 6.0f * life);
            const float star = rays * paint::SmoothStep(reach, 0.0f, r);
            *cover = paint::Clamp01((core + star) * (0.35f + 0.65f * life)) * paint::SmoothStep(49, 44, r);
            return Mix(Color(0.2f, 1.0f, 0.6f), Color(0.9f, 1.0f, 0.95f), paint::Clamp01(core * 1.5f));
        });
    }
    return img;
}

Rgba ReticleColour() { return Color(0.35f, 1.0f, 0.95f); }

// The outer reticle: a thin ring with ticks, corner brackets and a scale on the right.
Image OuterReticle() {
    Image img(650, 650);
    img.Paint(0, 0, 650, 650, [&](float x, float y, float* cover) {
        const float dx = x - 325, dy = y - 325;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float a = std::atan2(dy, dx);
        float d = std::fabs(r - 290) - 1.2f;
        // Ticks every 15 degrees, long ones on the axes.
        const float step = kPi / 12;
        const float near = std::fabs(std::remainder(a, step)) * r;
        const bool axis = std::fabs(std::remainder(a, kPi / 2)) * r < 3;
        const float tick = std::fmax(near - 1.5f, std::fabs(r - 272) - (axis ? 18.0f : 8.0f));
        d = std::fmin(d, tick);
        // Gapped inner arc.
        const float arc = std::fabs(r - 200) - 1.0f;
        const bool gap = std::fabs(std::remainder(a, kPi / 2)) < 0.35f;
        if (!gap) d = std::fmin(d, arc);
        // Corner brackets.
        for (float sx : {-1.0f, 1.0f})
            for (float sy : {-1.0f, 1.0f}) {
                const float cx = 325 + sx * 230, cy = 325 + sy * 230;
                d = std::fmin(d, paint::SegmentDistance(x, y, cx, cy, cx - sx * 40, cy, 1.8f));
                d = std::fmin(d, paint::SegmentDistance(x, y, cx, cy, cx, cy - sy * 40, 1.8f));
            }
        *cover = std::fmax(Coverage(d) * 0.85f, 0.3f * paint::GlowFalloff(d, 3.0f));
        return ReticleColour();
    });
    return img;
}

// The centre mark (drawn turned half round and scaled 1.3): a cross with a dot.
Image CentreMark() {
    Image img(52, 52);
    img.Paint(0, 0, 52, 52, [&](float x, float y, float* cover) {
        float d = std::sqrt((x - 26) * (x - 26) + (y - 26) * (y - 26)) - 2.5f;
        d = std::fmin(d, paint::SegmentDistance(x, y, 26, 4, 26, 16, 1.2f));
        d = std::fmin(d, paint::SegmentDistance(x, y, 26, 36, 26, 48, 1.2f));
        d = std::fmin(d, paint::SegmentDistance(x, y, 4, 26, 16, 26, 1.2f));
        d = std::fmin(d, paint::SegmentDistance(x, y, 36, 26, 48, 26, 1.2f));
        *cover = std::fmax(Coverage(d), 0.35f * paint::GlowFalloff(d, 1.5f));
        return Color(1.0f, 1.0f, 1.0f);
    });
    return img;
}

// The pulse ring (scaled from 1 to 2 after each shot): four arcs.
Image PulseRing() {
    Image img(52, 52);
    img.Paint(0, 0, 52, 52, [&](float x, float y, float* cover) {
        const float dx = x - 26, dy = y - 26;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float a = std::atan2(dy, dx);
        const bool gap = std::fabs(std::remainder(a + kPi / 4, kPi / 2)) < 0.25f;
        const float d = gap ? 99.0f : std::fabs(r - 20) - 1.3f;
        *cover = Coverage(d);
        return Color(1.0f, 0.4f, 0.85f);
    });
    return img;
}

// The steering arrow, pointing up.
Image Arrow() {
    Image img(50, 50);
    img.Paint(0, 0, 50, 50, [&](float x, float y, float* cover) {
        const float head = paint::TriangleDistance(x, y, 25, 4, 6, 30, 44, 30);
        const float notch = paint::TriangleDistance(x, y, 25, 20, 12, 33, 38, 33);
        const float d = std::fmax(head, -notch);
        *cover = std::fmax(Coverage(d), 0.4f * paint::GlowFalloff(d, 2.0f));
        return Color(1.0f, 0.85f, 0.3f);
    });
    return img;
}

}  // namespace

void AddEffectPictures(AssetList& out) {
    out.push_back({"texture/particle.png", ExplosionStrip().EncodePng()});
    out.push_back({"texture/green.png", MuzzleFlashes().EncodePng()});
    out.push_back({"texture/Target.png", OuterReticle().EncodePng()});
    out.push_back({"texture/Target2.png", CentreMark().EncodePng()});
    out.push_back({"texture/Target3.png", PulseRing().EncodePng()});
    out.push_back({"texture/arrow.png", Arrow().EncodePng()});
}
