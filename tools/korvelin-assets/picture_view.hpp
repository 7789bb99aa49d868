// How the course picture maps the ground to pixels: seen from above, world x to the right and
// world z up, so the picture is not mirrored. Pixel (i, j) covers [i, i + 1) x [j, j + 1).
#pragma once

#include <vector>

#include "math/math.hpp"

// Kept in double: a course may span nearly the whole float range, and its pixels must still
// come out finite.
struct PictureView {
    double left = 0;            // world x at the picture's left edge
    double top = 0;             // world z at its top edge
    double pixelsPerUnit = 1;
    int width = 1, height = 1;

    Vec2 ToPixel(Vec3 p) const {
        return {static_cast<float>((p.x - left) * pixelsPerUnit), static_cast<float>((top - p.z) * pixelsPerUnit)};
    }
    // The ground point under the centre of pixel (i, j), at height 0.
    Vec3 ToWorld(int i, int j) const {
        return {static_cast<float>(left + (i + 0.5) / pixelsPerUnit), 0, static_cast<float>(top - (j + 0.5) / pixelsPerUnit)};
    }
};

// The view of the points' bounds with `margin` pixels round them, `longSide` pixels on its
// longer side; the shorter side is widened to at least `minShortSide` (room for the legend),
// keeping the points centred.
PictureView FitView(const std::vector<Vec3>& points, int longSide, int minShortSide, int margin);
