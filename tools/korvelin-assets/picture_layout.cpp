// A greedy placement: labels in the order given, each at its cheapest spot among a few.
#include "picture_layout.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kMarkerWeight = 50;   // covering a marker or a label
constexpr float kLineWeight = 1;      // covering a stretch of line
constexpr float kLineStep = 10;       // pixels between the points kept of a line
constexpr float kTurnPenalty = 0.6f;  // per step away from the wanted direction

bool Overlap(const LabelBox& a, const LabelBox& b, float gap) {
    return a.x0 - gap < b.x1 && b.x0 < a.x1 + gap && a.y0 - gap < b.y1 && b.y0 < a.y1 + gap;
}

}  // namespace

void PictureLayout::AddMarker(Vec2 c, float radius) {
    obstacles_.push_back({{c.x - radius, c.y - radius, c.x + radius, c.y + radius}, kMarkerWeight});
}

void PictureLayout::AddLine(const std::vector<Vec2>& points) {
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Vec2 a = points[i], b = points[i + 1];
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        for (float t = 0; t < length; t += kLineStep) {
            const Vec2 p{a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length};
            obstacles_.push_back({{p.x - 1, p.y - 1, p.x + 1, p.y + 1}, kLineWeight});
        }
    }
}

float PictureLayout::Cost(const LabelBox& box, float gap) const {
    float cost = 0;
    if (box.x0 < 0 || box.y0 < 0 || box.x1 > static_cast<float>(width_) || box.y1 > static_cast<float>(height_))
        cost += 1000;
    for (const Obstacle& o : obstacles_)
        if (Overlap(box, o.box, gap)) cost += o.weight;
    return cost;
}

Vec2 PictureLayout::PlaceLabel(Vec2 size, Vec2 centre, float radius, Vec2 dir) {
    const float len = std::hypot(dir.x, dir.y);
    const float base = len > 0 ? std::atan2(dir.y, dir.x) : 0.0f;
    constexpr int kTurns[] = {0, 1, -1, 2, -2, 3, -3, 4};  // eighths of a turn
    LabelBox best;
    float bestScore = std::numeric_limits<float>::max();
    for (int i = 0; i < 8; ++i) {
        const float a = base + static_cast<float>(kTurns[i]) * 0.78539816f;
        const Vec2 d{std::cos(a), std::sin(a)};
        // Far enough along d that the box's nearest edge clears the marker.
        const float reach = radius + 1 + std::fabs(d.x) * size.x / 2 + std::fabs(d.y) * size.y / 2;
        const float x = centre.x + d.x * reach - size.x / 2, y = centre.y + d.y * reach - size.y / 2;
        const LabelBox box{x, y, x + size.x, y + size.y};
        const float score = Cost(box, -2) + kTurnPenalty * static_cast<float>(std::abs(kTurns[i]));
        if (score < bestScore) bestScore = score, best = box;
        if (score == 0) break;
    }
    // The halo round the letters may touch other things; the letters themselves should not.
    obstacles_.push_back({{best.x0 + 2, best.y0 + 2, best.x1 - 2, best.y1 - 2}, kMarkerWeight});
    return {best.x0, best.y0};
}

Vec2 PictureLayout::PlacePanel(Vec2 size) const {
    constexpr float kStep = 20, kInset = 10;
    constexpr float kPerPixelFromEdge = 0.05f;
    // A grid of spots, and the far edges the grid's step may miss.
    auto spots = [&](float room) {
        std::vector<float> at;
        for (float v = kInset; v <= room - kInset; v += kStep) at.push_back(v);
        at.push_back(std::max(kInset, room - kInset));
        return at;
    };
    const float w = static_cast<float>(width_), h = static_cast<float>(height_);
    Vec2 best{kInset, kInset};
    float bestScore = std::numeric_limits<float>::max();
    for (float y : spots(h - size.y))
        for (float x : spots(w - size.x)) {
            const float fromEdge = std::min({x, y, w - x - size.x, h - y - size.y}) - kInset;
            const float score = Cost({x, y, x + size.x, y + size.y}, 6) + kPerPixelFromEdge * std::max(0.0f, fromEdge);
            if (score < bestScore) bestScore = score, best = {x, y};
        }
    return best;
}
