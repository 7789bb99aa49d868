// Shapes as signed distances (negative inside), turned into one-pixel soft edges.
#include "map_painter.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "paint.hpp"

namespace {

constexpr int kHalo = 2;                        // pixels of dark round each letter
const Rgba kHaloColour{0.02f, 0.03f, 0.05f, 0.85f};

// A pixel index for a coordinate, kept to a range where the arithmetic on it cannot overflow
// (a marker far outside the picture is simply not painted).
int Floor(float v) {
    if (!(v > -1e6f)) return -1000000;
    return static_cast<int>(std::floor(std::min(v, 1e6f)));
}
int Ceil(float v) { return -Floor(-v); }

float ShapeDistance(MarkerShape shape, float x, float y, Vec2 c, float r) {
    switch (shape) {
        case MarkerShape::Circle: return std::hypot(x - c.x, y - c.y) - r;
        case MarkerShape::Square: return paint::BoxDistance(x, y, c.x, c.y, r, r, 1.0f);
        case MarkerShape::Diamond: return (std::fabs(x - c.x) + std::fabs(y - c.y) - r * 1.3f) * 0.70710678f;
        case MarkerShape::Triangle:
            return paint::TriangleDistance(x, y, c.x, c.y - r * 1.25f, c.x - r * 1.15f, c.y + r * 0.75f, c.x + r * 1.15f,
                                           c.y + r * 0.75f);
        case MarkerShape::Cross: {
            const float arm = r * 0.3f;
            return std::min(paint::SegmentDistance(x, y, c.x - r, c.y - r, c.x + r, c.y + r, arm),
                            paint::SegmentDistance(x, y, c.x - r, c.y + r, c.x + r, c.y - r, arm));
        }
    }
    return 1e9f;
}

// Paints `distance` over the square round `centre` that reaches `reach` pixels out.
void Fill(Image& image, Vec2 centre, float reach, Rgba colour, const std::function<float(float, float)>& distance) {
    const int x0 = Floor(centre.x - reach), x1 = Ceil(centre.x + reach) + 1;
    const int y0 = Floor(centre.y - reach), y1 = Ceil(centre.y + reach) + 1;
    image.Paint(x0, y0, x1, y1, [&](float x, float y, float* cover) {
        *cover = Coverage(distance(x, y));
        return colour;
    });
}

}  // namespace

void MapPainter::Line(const std::vector<Vec2>& points, float width, Rgba colour) {
    if (points.empty()) return;
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Vec2& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const int pad = Ceil(width) + 2;
    const int ox = std::max(0, Floor(minX) - pad);
    const int oy = std::max(0, Floor(minY) - pad);
    const int w = std::min(image_.Width(), Ceil(maxX) + pad) - ox;
    const int h = std::min(image_.Height(), Ceil(maxY) + pad) - oy;
    if (w <= 0 || h <= 0) return;
    Mask mask(w, h);
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec2 a = points[i], b = points[std::min(i + 1, points.size() - 1)];
        const int y0 = std::max(0, Floor(std::min(a.y, b.y)) - pad - oy);
        const int y1 = std::min(h, Ceil(std::max(a.y, b.y)) + pad - oy);
        for (int y = y0; y < y1; ++y) {
            const float py = static_cast<float>(y + oy) + 0.5f;
            // Only the stretch of the row the segment's band can reach: a long slanted segment
            // costs its length, not the area of its bounding box.
            float lo = std::min(a.x, b.x), hi = std::max(a.x, b.x);
            if (a.y != b.y) {
                const float t0 = std::clamp((py - static_cast<float>(pad) - a.y) / (b.y - a.y), 0.0f, 1.0f);
                const float t1 = std::clamp((py + static_cast<float>(pad) - a.y) / (b.y - a.y), 0.0f, 1.0f);
                const float xa = a.x + (b.x - a.x) * t0, xb = a.x + (b.x - a.x) * t1;
                lo = std::min(xa, xb), hi = std::max(xa, xb);
            }
            const int x0 = std::max(0, Floor(lo) - pad - ox);
            const int x1 = std::min(w, Ceil(hi) + pad - ox);
            for (int x = x0; x < x1; ++x) {
                const float px = static_cast<float>(x + ox) + 0.5f;
                const float d = a.x == b.x && a.y == b.y ? std::hypot(px - a.x, py - a.y) - width / 2
                                                         : paint::SegmentDistance(px, py, a.x, a.y, b.x, b.y, width / 2);
                mask.At(x, y) = std::max(mask.At(x, y), Coverage(d));
            }
        }
    }
    image_.BlendMask(mask, ox, oy, [&](int, int) { return colour; });
}

void MapPainter::DashedLine(Vec2 a, Vec2 b, float width, float dash, Rgba colour) {
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    if (length <= 0) return;
    for (float t = 0; t < length; t += 2 * dash) {
        const float t1 = std::min(length, t + dash);
        const Vec2 p{a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length};
        const Vec2 q{a.x + (b.x - a.x) * t1 / length, a.y + (b.y - a.y) * t1 / length};
        Line({p, q}, width, colour);
    }
}

void MapPainter::Ring(Vec2 centre, float radius, float width, Rgba colour) {
    Fill(image_, centre, radius + width, colour,
         [&](float x, float y) { return std::fabs(std::hypot(x - centre.x, y - centre.y) - radius) - width / 2; });
}

void MapPainter::Marker(MarkerShape shape, Vec2 centre, float radius, Rgba fill, Rgba outline, float outlineWidth) {
    const float reach = radius * 1.5f + outlineWidth + 2;
    Fill(image_, centre, reach, outline,
         [&](float x, float y) { return ShapeDistance(shape, x, y, centre, radius) - outlineWidth; });
    Fill(image_, centre, reach, fill, [&](float x, float y) { return ShapeDistance(shape, x, y, centre, radius); });
}

void MapPainter::Box(float x0, float y0, float x1, float y1, float corner, Rgba colour) {
    const Vec2 c{(x0 + x1) / 2, (y0 + y1) / 2};
    const float hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
    Fill(image_, c, std::max(hw, hh) + 2, colour,
         [&](float x, float y) { return paint::BoxDistance(x, y, c.x, c.y, hw, hh, corner); });
}

Vec2 MapPainter::Measure(const std::string& text, int size) const {
    const Mask m = text_.RenderLine(FontFace::SansBold, text, size, kHalo);
    return {static_cast<float>(m.width), static_cast<float>(m.height)};
}

LabelBox MapPainter::Text(const std::string& text, float x, float y, int size, Rgba colour) {
    const Mask m = text_.RenderLine(FontFace::SansBold, text, size, kHalo);
    const int ox = Floor(x + 0.5f), oy = Floor(y + 0.5f);
    image_.BlendMask(m.Grown(kHalo), ox, oy, [](int, int) { return kHaloColour; });
    image_.BlendMask(m, ox, oy, [&](int, int) { return colour; });
    return {static_cast<float>(ox), static_cast<float>(oy), static_cast<float>(ox + m.width), static_cast<float>(oy + m.height)};
}
