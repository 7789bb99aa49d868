// Fitting the course picture to what it shows.
#include "picture_view.hpp"

#include <algorithm>
#include <cmath>

PictureView FitView(const std::vector<Vec3>& points, int longSide, int minShortSide, int margin) {
    double minX = 0, maxX = 0, minZ = 0, maxZ = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = points[i].x, z = points[i].z;
        minX = i ? std::min(minX, x) : x;
        maxX = i ? std::max(maxX, x) : x;
        minZ = i ? std::min(minZ, z) : z;
        maxZ = i ? std::max(maxZ, z) : z;
    }
    // A single gate or a straight line still gets a sensible scale.
    constexpr double kSmallest = 200.0;
    const double spanX = std::max(maxX - minX, kSmallest), spanZ = std::max(maxZ - minZ, kSmallest);
    PictureView view;
    view.pixelsPerUnit = (longSide - 2 * margin) / std::max(spanX, spanZ);
    const auto side = [&](double span) {
        return std::max(minShortSide, static_cast<int>(std::lround(span * view.pixelsPerUnit)) + 2 * margin);
    };
    view.width = spanX >= spanZ ? longSide : side(spanX);
    view.height = spanX >= spanZ ? side(spanZ) : longSide;
    const double midX = (minX + maxX) / 2, midZ = (minZ + maxZ) / 2;
    view.left = midX - view.width / 2.0 / view.pixelsPerUnit;
    view.top = midZ + view.height / 2.0 / view.pixelsPerUnit;
    return view;
}
