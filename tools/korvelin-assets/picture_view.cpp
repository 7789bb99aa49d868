// Fitting the course picture to what it shows.
#include "picture_view.hpp"

#include <algorithm>
#include <cmath>

PictureView FitView(const std::vector<Vec3>& points, int longSide, int minShortSide, int margin) {
    float minX = 0, maxX = 0, minZ = 0, maxZ = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec3 p = points[i];
        minX = i ? std::min(minX, p.x) : p.x;
        maxX = i ? std::max(maxX, p.x) : p.x;
        minZ = i ? std::min(minZ, p.z) : p.z;
        maxZ = i ? std::max(maxZ, p.z) : p.z;
    }
    // A single gate or a straight line still gets a sensible scale.
    constexpr float kSmallest = 200.0f;
    const float spanX = std::max(maxX - minX, kSmallest), spanZ = std::max(maxZ - minZ, kSmallest);
    PictureView view;
    view.pixelsPerUnit = static_cast<float>(longSide - 2 * margin) / std::max(spanX, spanZ);
    const auto side = [&](float span) {
        return std::max(minShortSide, static_cast<int>(std::lround(span * view.pixelsPerUnit)) + 2 * margin);
    };
    view.width = spanX >= spanZ ? longSide : side(spanX);
    view.height = spanX >= spanZ ? side(spanZ) : longSide;
    const float midX = (minX + maxX) / 2, midZ = (minZ + maxZ) / 2;
    view.left = midX - static_cast<float>(view.width) / 2 / view.pixelsPerUnit;
    view.top = midZ + static_cast<float>(view.height) / 2 / view.pixelsPerUnit;
    return view;
}
