// Where the course picture's labels and legend go: each is put where it covers the fewest of
// the markers, labels and lines already there, so numbers stay readable where gates crowd.
#pragma once

#include <vector>

#include "map_painter.hpp"

class PictureLayout {
public:
    PictureLayout(int width, int height) : width_(width), height_(height) {}

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
    float Cost(const LabelBox& box, float gap) const;

    int width_, height_;
    std::vector<Obstacle> obstacles_;
};
