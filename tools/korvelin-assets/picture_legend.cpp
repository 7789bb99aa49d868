// The legend is laid out once to learn its size, then drawn where it hides least.
#include "picture_legend.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "picture_palette.hpp"

namespace pp = picture_palette;

namespace {

constexpr float kPad = 12;
constexpr float kRow = 22;
constexpr float kSwatch = 34;  // room for a row's sample before its text
constexpr int kTextSize = 14;
constexpr size_t kMostChips = 12;  // enemies' colour chips in a row; a course has at most 6 enemies

struct Row {
    std::function<void(MapPainter&, Vec2)> sample;  // drawn centred at the given point
    std::string text;
    int size = kTextSize;
    Rgba colour = pp::kText;
    bool chips = false;  // the enemies' numbers, each in its colour
};

float RowHeight(const Row& r) { return r.size > kTextSize ? kRow + 4 : kRow; }

std::string Printf(const char* fmt, double a, double b = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

// A round length (1, 2 or 5 times a power of ten) at most 150 pixels long.
double ScaleUnits(double pixelsPerUnit) {
    const double want = 150 / pixelsPerUnit;
    double best = 1;
    for (double decade = 1; decade <= want; decade *= 10)
        for (double step : {1.0, 2.0, 5.0})
            if (step * decade <= want) best = step * decade;
    return best;
}

std::vector<Row> Rows(const LegendContent& c) {
    auto marker = [](MarkerShape s, float r, Rgba fill, Rgba outline = pp::kOutline) {
        return [=](MapPainter& p, Vec2 at) { p.Marker(s, at, r, fill, outline); };
    };
    std::vector<Row> rows;
    rows.push_back({nullptr, c.title, 18});
    rows.push_back({nullptr, Printf("main course %.0f units, %.1f s", c.length, c.seconds)});
    rows.push_back({marker(MarkerShape::Circle, 7, pp::kStart), "start"});
    rows.push_back({marker(MarkerShape::Circle, 5, pp::kGate), "gate, numbered in course order"});
    rows.push_back({[](MapPainter& p, Vec2 at) {
                        p.Marker(MarkerShape::Circle, at, 8, pp::kGoal, pp::kOutline, 2);
                        p.Marker(MarkerShape::Circle, at, 3.5f, pp::kGoalCentre, pp::kGoalCentre, 0);
                    },
                    "goal"});
    rows.push_back({marker(MarkerShape::Diamond, 7, pp::Enemy(1)), "trigger gate, releases enemy n (En)"});
    rows.push_back({[](MapPainter& p, Vec2 at) {
                        p.Line({{at.x - 14, at.y}, {at.x + 14, at.y}}, 2.5f, pp::Enemy(1));
                        p.Marker(MarkerShape::Square, {at.x - 8, at.y}, 5, pp::Enemy(1), pp::kOutline);
                        p.Marker(MarkerShape::Circle, {at.x + 8, at.y}, 3.5f, pp::Enemy(1), pp::kOutline, 1);
                    },
                    "enemy route from its spawn gate"});
    rows.push_back({[](MapPainter& p, Vec2 at) {
                        p.DashedLine({at.x - 15, at.y}, {at.x - 2, at.y}, 2, 4, pp::Enemy(1));
                        p.Ring({at.x + 7, at.y}, 7, 2.5f, pp::Enemy(1));
                    },
                    "where it joins the main course"});
    std::string chips;
    for (size_t i = 0; i < c.enemies.size() && i < kMostChips; ++i) chips += (chips.empty() ? "" : "   ") + pp::EnemyTag(c.enemies[i]);
    if (!chips.empty()) rows.push_back({nullptr, chips, kTextSize, pp::kText, true});
    if (c.trace) {
        rows.push_back({[](MapPainter& p, Vec2 at) { p.Line({{at.x - 14, at.y + 3}, {at.x + 14, at.y - 3}}, 2.2f, pp::kPath); },
                        "player's path, " + c.traceTitle + Printf(" (%.0f frames)", static_cast<double>(c.traceFrames))});
        rows.push_back({marker(MarkerShape::Triangle, 6, pp::Enemy(1), pp::kText), "enemy released (En out), at the player"});
        rows.push_back({marker(MarkerShape::Cross, 6, pp::kHit), "hit taken"});
        rows.push_back({marker(MarkerShape::Square, 6, pp::kEnd), "run over (goal or destroyed)"});
    }
    if (!c.leftOut.empty()) rows.push_back({nullptr, "not drawn: " + c.leftOut});
    return rows;
}

}  // namespace

void DrawLegend(MapPainter& paint, const PictureView& view, const LegendContent& content, const PictureLayout& layout) {
    const std::vector<Row> rows = Rows(content);
    const double units = ScaleUnits(view.pixelsPerUnit);
    const float bar = static_cast<float>(units * view.pixelsPerUnit);
    const std::string scaleText = Printf("%g units; x to the right, z up", units);
    float width = bar + 12 + paint.Measure(scaleText, kTextSize).x;
    for (const Row& r : rows) width = std::max(width, (r.sample ? kSwatch : 0) + paint.Measure(r.text, r.size).x);
    width += 2 * kPad;
    float height = 2 * kPad + kRow;  // the scale bar's row last
    for (const Row& r : rows) height += RowHeight(r);

    const Vec2 at = layout.PlacePanel({width, height});
    paint.Box(at.x, at.y, at.x + width, at.y + height, 6, pp::kPanel);
    float y = at.y + kPad;
    for (const Row& r : rows) {
        const float x = at.x + kPad + (r.sample ? kSwatch : 0);
        if (r.sample) r.sample(paint, {at.x + kPad + kSwatch / 2 - 2, y + kRow / 2});
        if (r.chips) {
            float cx = x;
            for (size_t i = 0; i < content.enemies.size() && i < kMostChips; ++i) {
                const int e = content.enemies[i];
                const LabelBox b = paint.Text(pp::EnemyTag(e), cx, y, r.size, picture_palette::Enemy(e));
                cx = b.x1 + 10;
            }
        } else {
            paint.Text(r.text, x, y, r.size, r.colour);
        }
        y += RowHeight(r);
    }
    // Scale bar with end ticks.
    const float bx = at.x + kPad + 2, by = y + kRow / 2;
    paint.Line({{bx, by - 5}, {bx, by}, {bx + bar, by}, {bx + bar, by - 5}}, 2, pp::kText);
    paint.Text(scaleText, bx + bar + 10, y, kTextSize, pp::kText);
}
