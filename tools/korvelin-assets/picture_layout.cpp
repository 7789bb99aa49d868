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
constexpr float kCell = 32;           // pixels per cell of the markers' grid
constexpr float kLineCell = 4;        // pixels per cell of the lines' grid
constexpr uint8_t kMostLinePoints = 16;

bool Overlap(const LabelBox& a, const LabelBox& b, float gap) {
    return a.x0 - gap < b.x1 && b.x0 < a.x1 + gap && a.y0 - gap < b.y1 && b.y0 < a.y1 + gap;
}

// The cell of a coordinate, clamped to 0 ... count - 1 (NaN goes to 0).
int CellOf(float v, float cellSize, int count) {
    const float c = std::floor(v / cellSize);
    if (!(c > 0)) return 0;
    return c >= static_cast<float>(count - 1) ? count - 1 : static_cast<int>(c);
}

int CellsFor(int pixels, float cellSize) { return std::max(1, static_cast<int>(std::ceil(static_cast<float>(pixels) / cellSize))); }

}  // namespace

PictureLayout::PictureLayout(int width, int height)
    : width_(width),
      height_(height),
      columns_(CellsFor(width, kCell)),
      rows_(CellsFor(height, kCell)),
      cells_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_)),
      lineColumns_(CellsFor(width, kLineCell)),
      lineRows_(CellsFor(height, kLineCell)),
      lineCount_(static_cast<size_t>(lineColumns_) * static_cast<size_t>(lineRows_), 0) {}

PictureLayout::CellRange PictureLayout::Cells(const LabelBox& b, float gap, float cellSize, int columns, int rows) const {
    return {CellOf(b.x0 - gap, cellSize, columns), CellOf(b.y0 - gap, cellSize, rows), CellOf(b.x1 + gap, cellSize, columns),
            CellOf(b.y1 + gap, cellSize, rows)};
}

void PictureLayout::AddObstacle(const LabelBox& box, float weight) {
    const auto index = static_cast<uint32_t>(obstacles_.size());
    obstacles_.push_back({box, weight});
    seen_.push_back(0);
    const CellRange r = Cells(box, 0, kCell, columns_, rows_);
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x) cells_[static_cast<size_t>(y) * columns_ + x].push_back(index);
}

void PictureLayout::AddMarker(Vec2 c, float radius) {
    AddObstacle({c.x - radius, c.y - radius, c.x + radius, c.y + radius}, kMarkerWeight);
}

void PictureLayout::AddLine(const std::vector<Vec2>& points) {
    const float w = static_cast<float>(width_), h = static_cast<float>(height_);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Vec2 a = points[i], b = points[i + 1];
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        if (!std::isfinite(length)) continue;
        for (float t = 0; t < length; t += kLineStep) {
            const Vec2 p{a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length};
            if (!(p.x >= 0 && p.y >= 0 && p.x < w && p.y < h)) continue;  // off the picture, nothing to cover
            uint8_t& count = lineCount_[static_cast<size_t>(CellOf(p.y, kLineCell, lineRows_)) * lineColumns_ +
                                        CellOf(p.x, kLineCell, lineColumns_)];
            if (count < kMostLinePoints) ++count;
        }
    }
}

float PictureLayout::Cost(const LabelBox& box, float gap) const {
    float cost = 0;
    if (box.x0 < 0 || box.y0 < 0 || box.x1 > static_cast<float>(width_) || box.y1 > static_cast<float>(height_))
        cost += 1000;
    ++costCall_;
    const CellRange r = Cells(box, gap, kCell, columns_, rows_);
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            for (uint32_t i : cells_[static_cast<size_t>(y) * columns_ + x]) {
                if (seen_[i] == costCall_) continue;
                seen_[i] = costCall_;
                if (Overlap(box, obstacles_[i].box, gap)) cost += obstacles_[i].weight;
            }
    // A line point covers a pixel round itself.
    const CellRange l = Cells(box, gap + 1, kLineCell, lineColumns_, lineRows_);
    int points = 0;
    for (int y = l.y0; y <= l.y1; ++y)
        for (int x = l.x0; x <= l.x1; ++x) points += lineCount_[static_cast<size_t>(y) * lineColumns_ + x];
    return cost + kLineWeight * static_cast<float>(points);
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
    AddObstacle({best.x0 + 2, best.y0 + 2, best.x1 - 2, best.y1 - 2}, kMarkerWeight);
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
