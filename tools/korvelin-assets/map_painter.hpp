// Lines, markers and labels over the course picture, anti-aliased. Markers carry an outline
// and labels a dark halo, so both read over bright and dark ground alike. Positions are in
// pixels (PictureView::ToPixel).
#pragma once

#include <string>
#include <vector>

#include "image.hpp"
#include "math/math.hpp"
#include "text_raster.hpp"

enum class MarkerShape { Circle, Square, Diamond, Triangle, Cross };

struct LabelBox {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class MapPainter {
public:
    MapPainter(Image& image, const TextRaster& text) : image_(image), text_(text) {}

    // A polyline; where segments meet, each pixel is painted once, so a see-through line does
    // not darken at its joints.
    void Line(const std::vector<Vec2>& points, float width, Rgba colour);
    void DashedLine(Vec2 a, Vec2 b, float width, float dash, Rgba colour);
    void Ring(Vec2 centre, float radius, float width, Rgba colour);
    // A filled shape `radius` pixels from its centre to its edge, inside an outline.
    void Marker(MarkerShape shape, Vec2 centre, float radius, Rgba fill, Rgba outline, float outlineWidth = 1.5f);
    void Box(float x0, float y0, float x1, float y1, float corner, Rgba colour);

    // Width and height of a label at a pixel size.
    Vec2 Measure(const std::string& text, int size) const;
    // A label with its top-left corner at (x, y) (Measure's box, halo included); returns
    // where it went.
    LabelBox Text(const std::string& text, float x, float y, int size, Rgba colour);

private:
    Image& image_;
    const TextRaster& text_;
};
