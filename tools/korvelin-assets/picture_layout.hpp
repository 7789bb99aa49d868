// Where the course picture's labels and legend go: each is put where it covers the fewest of
// the markers, labels and lines already there, so numbers stay readable where gates crowd.
// What is already there is kept in grids over the picture, so placing a label looks only at
// its neighbourhood: the time grows with the labels, not with their square.
#pragma once

#include <cstdint>
#include <vector>

#include "map_painter.hpp"

class PictureLayout {
public:
    PictureLayout(int width, int height);

    // Something a label should not cover: a marker (heavy) or a point on a line (light).
    void AddMarker(Vec2 centre, float radius);
    void AddLine(const std::vector<Vec2>& points);

    // The top-left corner for a label of `size` beside a marker of `radius`: towards `dir` when
    // that spot is free, else the nearest free direction round the marker. The label then
    // counts as taken room.
    Vec2 PlaceLabel(Vec2 size, Vec2 centre, float radius, Vec2 dir);
    // The top-left corner for a panel of `size`: the spot covering the least, nearer the
    // picture's edges when several are free.
    Vec2 PlacePanel(Vec2 size) const;

private:
    struct Obstacle {
        LabelBox box;
        float weight;
    };
    // Cells of the grid a box (widened by gap) touches, clamped to the picture.
    struct CellRange {
        int x0, y0, x1, y1;  // inclusive
    };
    CellRange Cells(const LabelBox& box, float gap, float cellSize, int columns, int rows) const;
    void AddObstacle(const LabelBox& box, float weight);
    float Cost(const LabelBox& box, float gap) const;

    int width_, height_;
    // Markers and labels, each listed in every cell of kCell pixels it touches.
    int columns_, rows_;
    std::vector<Obstacle> obstacles_;
    std::vector<std::vector<uint32_t>> cells_;
    mutable std::vector<uint32_t> seen_;  // per obstacle, the Cost call that last counted it
    mutable uint32_t costCall_ = 0;
    // Points of lines, counted per cell of kLineCell pixels (at most kMostLinePoints a cell).
    int lineColumns_, lineRows_;
    std::vector<uint8_t> lineCount_;
};
