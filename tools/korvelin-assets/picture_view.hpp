// How the course picture maps the ground to pixels: seen from above, world x to the right and
// world z up, so the picture is not mirrored. Pixel (i, j) covers [i, i + 1) x [j, j + 1).
#pragma once

#include <vector>

#include "math/math.hpp"

struct PictureView {
    float left = 0;            // world x at the picture's left edge
    float top = 0;             // world z at its top edge
    float pixelsPerUnit = 1;
    int width = 1, height = 1;

    Vec2 ToPixel(Vec3 p) const { return {(p.x - left) * pixelsPerUnit, (top - p.z) * pixelsPerUnit}; }
    // The ground point under the centre of pixel (i, j), at height 0.
    Vec3 ToWorld(int i, int j) const {
        return {left + (static_cast<float>(i) + 0.5f) / pixelsPerUnit, 0, top - (static_cast<float>(j) + 0.5f) / pixelsPerUnit};
    }
};

// The view of the points' bounds with `margin` pixels round them, `longSide` pixels on its
// longer side; the shorter side is widened to at least `minShortSide` (room for the legend),
// keeping the points centred.
PictureView FitView(const std::vector<Vec3>& points, int longSide, int minShortSide, int margin);
