// The course picture's legend: the course's name, length and duration, what each marker
// means, the enemies' colours and a scale bar, on a dark panel where it hides least.
#pragma once

#include <string>
#include <vector>

#include "map_painter.hpp"
#include "picture_layout.hpp"
#include "picture_view.hpp"

struct LegendContent {
    std::string title;
    float length = 0;           // units
    float seconds = 0;
    std::vector<int> enemies;   // the numbers to show colour chips for
    bool trace = false;
    std::string traceTitle;
    size_t traceFrames = 0;
    std::string leftOut;        // what the picture had no room for ("40 labels, 900 hits"), if anything
};

// Drawn where the layout finds it covers least of what is already there.
void DrawLegend(MapPainter& paint, const PictureView& view, const LegendContent& content, const PictureLayout& layout);
