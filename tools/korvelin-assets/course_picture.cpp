// Drawing order: ground, lines (course, routes, joins, the player's path), markers, then every
// label last so no marker hides a number.
#include "course_picture.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <span>

#include "ground_shade.hpp"
#include "map_painter.hpp"
#include "picture_layout.hpp"
#include "picture_legend.hpp"
#include "picture_palette.hpp"

namespace pp = picture_palette;

namespace {

constexpr int kMargin = 70;       // pixels round the course, room for labels
constexpr int kNumberSize = 14;
constexpr int kTagSize = 14;
// What the picture draws at most, so any course and trace the readers take is drawn in bounded
// time: labels (a course at the limits has fewer than 300 numbers and tags), markers of each kind
// of run event (a run has a few), and pixels of the player's path (a run of ten minutes draws
// about 5000; a trace of many runs, or one whose positions jump across the map, is cut).
constexpr size_t kMostLabels = 600;
constexpr size_t kMostTraceEvents = 250;
constexpr float kMostPathPixels = 400000;

std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what; }

Vec3 Position(const CheckPoint& cp) { return cp.world.Row(3); }

Vec2 Perpendicular(Vec2 from, Vec2 to) {
    const float dx = to.x - from.x, dy = to.y - from.y;
    if (dx == 0 && dy == 0) return {0, -1};
    return {dy, -dx};
}

// Labels are placed after every marker is down, gate numbers first, so they get the best spots.
enum class LabelRank { Number, Tag, Trace };

struct PendingLabel {
    LabelRank rank;
    std::string text;
    Vec2 centre;
    float radius;
    Vec2 dir;
    Rgba colour;
};

class Drawing {
public:
    Drawing(const CoursePictureInput& in, CoursePicture& out, MapPainter& paint)
        : in_(in), out_(out), paint_(paint), layout_(out.view.width, out.view.height) {}

    void Run() {
        CourseLine();
        Routes();
        TracePaths();
        MainGates();
        TraceMarkers();
        std::stable_sort(labels_.begin(), labels_.end(),
                         [](const PendingLabel& a, const PendingLabel& b) { return a.rank < b.rank; });
        if (labels_.size() > kMostLabels) {
            LeftOut(Count(labels_.size() - kMostLabels, "labels"));
            labels_.resize(kMostLabels);
        }
        for (const PendingLabel& l : labels_) {
            const int size = l.rank == LabelRank::Number ? kNumberSize : kTagSize;
            const Vec2 at = layout_.PlaceLabel(paint_.Measure(l.text, size), l.centre, l.radius, l.dir);
            paint_.Text(l.text, at.x, at.y, size, l.colour);
        }
        Legend();
    }

private:
    Vec2 Pixel(size_t record) const { return out_.view.ToPixel(Position(*in_.course[record])); }

    void Mark(const char* what, Vec2 pixel, float radius, int record = -1, int enemy = 0, int64_t frame = -1) {
        out_.markers.push_back({what, record, enemy, frame, pixel});
        layout_.AddMarker(pixel, radius);
    }
    void Label(LabelRank rank, std::string text, Vec2 centre, float radius, Vec2 dir, Rgba colour) {
        labels_.push_back({rank, std::move(text), centre, radius, dir, colour});
    }

    void CourseLine() {
        std::vector<Vec2> line;
        for (const MainGate& g : in_.features.main) line.push_back(Pixel(g.record));
        paint_.Line(line, 2.5f, pp::kCourseLine);
        layout_.AddLine(line);
    }

    // Each route's line and gates, then the dashed leg to the gate it joins with a ring round it.
    void Routes() {
        std::map<size_t, int> ringsAt;  // main gate -> rings already drawn round it
        for (const EnemyRoute& r : in_.features.routes) {
            const Rgba colour = pp::Enemy(r.enemy);
            std::vector<Vec2> line;
            for (size_t i : r.records) line.push_back(Pixel(i));
            paint_.Line(line, 2.5f, colour);
            layout_.AddLine(line);
            if (r.joins) {
                const Vec2 join = Pixel(*r.joins);
                const float radius = 15.0f + 5.0f * static_cast<float>(ringsAt[*r.joins]++);
                paint_.DashedLine(line.back(), join, 4.5f, 8, pp::kOutline);
                paint_.DashedLine(line.back(), join, 2.2f, 8, colour);
                paint_.Ring(join, radius, 4.5f, pp::kOutline);
                paint_.Ring(join, radius, 2.5f, colour);
                layout_.AddLine({line.back(), join});
                Mark("join", join, radius + 2, static_cast<int>(*r.joins), r.enemy);
            }
            for (size_t k = 0; k < r.records.size(); ++k) {
                const Vec2 p = line[k];
                float radius = 3.5f;
                if (k == 0) {
                    radius = 6;
                    paint_.Marker(MarkerShape::Square, p, radius, colour, pp::kOutline);
                    const Vec2 next = line.size() > 1 ? line[1] : p;
                    Label(LabelRank::Tag, pp::EnemyTag(r.enemy), p, radius + 2, {p.x - next.x, p.y - next.y}, colour);
                } else if (k + 1 == r.records.size()) {
                    radius = 5.5f;
                    paint_.Marker(MarkerShape::Circle, p, radius, colour, pp::kText);
                } else {
                    paint_.Marker(MarkerShape::Circle, p, radius, colour, pp::kOutline, 1);
                }
                if (drawnGates_.insert(r.records[k]).second) Mark("gate", p, radius + 1, static_cast<int>(r.records[k]));
            }
        }
    }

    void TracePaths() {
        if (!in_.trace) return;
        float drawn = 0;
        for (const std::vector<TracePoint>& path : in_.trace->paths) {
            std::vector<Vec2> line;
            for (const TracePoint& t : path) {
                const Vec2 p = out_.view.ToPixel(t.pos);
                // Frames closer than half a pixel add nothing to the line.
                const float step = line.empty() ? 0.0f : std::hypot(p.x - line.back().x, p.y - line.back().y);
                if (!line.empty() && !(step >= 0.5f)) continue;
                if (drawn + step > kMostPathPixels) {
                    LeftOut("the path beyond " + Count(static_cast<size_t>(kMostPathPixels), "pixels"));
                    break;
                }
                drawn += step;
                line.push_back(p);
            }
            paint_.Line(line, 2.2f, pp::kPath);
            layout_.AddLine(line);
            if (drawn + 1 > kMostPathPixels) break;
        }
    }

    void MainGates() {
        const std::vector<MainGate>& main = in_.features.main;
        for (size_t m = 0; m < main.size(); ++m) {
            const MainGate& g = main[m];
            const Vec2 p = Pixel(g.record);
            const Vec2 side = Perpendicular(Pixel(main[m ? m - 1 : m].record), Pixel(main[m + 1 < main.size() ? m + 1 : m].record));
            const Vec2 other{-side.x, -side.y};
            float radius = 6;
            switch (g.kind) {
                case checkpoint_kind::kStart:
                    radius = 8;
                    paint_.Marker(MarkerShape::Circle, p, radius, pp::kStart, pp::kOutline, 2);
                    Label(LabelRank::Tag, "START", p, radius, other, pp::kStart);
                    break;
                case checkpoint_kind::kEnd:
                    radius = 9;
                    paint_.Marker(MarkerShape::Circle, p, radius, pp::kGoal, pp::kOutline, 2);
                    paint_.Marker(MarkerShape::Circle, p, 4, pp::kGoalCentre, pp::kGoalCentre, 0);
                    Label(LabelRank::Tag, "GOAL", p, radius, other, pp::kText);
                    break;
                case checkpoint_kind::kTrigger: {
                    radius = 8;
                    const bool released = in_.features.HasRoute(g.releases);
                    const Rgba colour = released ? pp::Enemy(g.releases) : pp::kNoEnemy;
                    paint_.Marker(MarkerShape::Diamond, p, radius, colour, pp::kOutline);
                    Label(LabelRank::Tag, pp::EnemyTag(g.releases) + (released ? "" : " (no route)"), p, radius, other, colour);
                    break;
                }
                default:
                    paint_.Marker(MarkerShape::Circle, p, radius, g.kind == checkpoint_kind::kPlain ? pp::kGate : pp::kNoEnemy,
                                  pp::kOutline);
            }
            Label(LabelRank::Number, std::to_string(g.record), p, radius, side, pp::kText);
            Mark("gate", p, radius + 2, static_cast<int>(g.record));
        }
    }

    // At most kMostTraceEvents of a kind, the first of the trace.
    std::span<const TraceEvent> Drawn(const std::vector<TraceEvent>& events, const char* what) {
        if (events.size() <= kMostTraceEvents) return events;
        LeftOut(Count(events.size() - kMostTraceEvents, what));
        return std::span(events).first(kMostTraceEvents);
    }

    void TraceMarkers() {
        if (!in_.trace) return;
        for (const TraceEvent& e : Drawn(in_.trace->releases, "releases")) {
            const Vec2 p = out_.view.ToPixel(e.at.pos);
            paint_.Marker(MarkerShape::Triangle, p, 7, pp::Enemy(e.enemy), pp::kText, 1.5f);
            Label(LabelRank::Trace, pp::EnemyTag(e.enemy) + " out", p, 9, {1, -1}, pp::Enemy(e.enemy));
            Mark("release", p, 9, -1, e.enemy, e.at.frame);
        }
        int n = 0;
        for (const TraceEvent& e : Drawn(in_.trace->hits, "hits")) {
            const Vec2 p = out_.view.ToPixel(e.at.pos);
            paint_.Marker(MarkerShape::Cross, p, 7, pp::kHit, pp::kOutline, 1.5f);
            Label(LabelRank::Trace, "hit " + std::to_string(++n), p, 8, {1, 1}, pp::kHit);
            Mark("hit", p, 8, -1, 0, e.at.frame);
        }
        for (const TraceEvent& e : Drawn(in_.trace->ends, "run ends")) {
            const Vec2 p = out_.view.ToPixel(e.at.pos);
            paint_.Marker(MarkerShape::Square, p, 7, pp::kEnd, pp::kOutline, 2);
            Label(LabelRank::Trace, e.destroyed ? "END: destroyed" : "END: goal", p, 9, {-1, 1}, pp::kText);
            Mark("end", p, 9, -1, 0, e.at.frame);
        }
    }

    void Legend() {
        LegendContent c{in_.title, in_.length, in_.seconds, {}, in_.trace != nullptr, in_.traceTitle,
                        in_.trace ? in_.trace->gameFrames : 0, leftOut_};
        std::set<int> enemies;
        for (const EnemyRoute& r : in_.features.routes) enemies.insert(r.enemy);
        c.enemies.assign(enemies.begin(), enemies.end());
        DrawLegend(paint_, out_.view, c, layout_);
    }

    void LeftOut(const std::string& what) { leftOut_ += (leftOut_.empty() ? "" : ", ") + what; }

    const CoursePictureInput& in_;
    CoursePicture& out_;
    MapPainter& paint_;
    PictureLayout layout_;
    std::vector<PendingLabel> labels_;
    std::set<size_t> drawnGates_;
    std::string leftOut_;
};

}  // namespace

CoursePicture DrawCoursePicture(const CoursePictureInput& in, const TextRaster& text) {
    std::vector<Vec3> points;
    for (const auto& cp : in.course) points.push_back(Position(*cp));
    if (in.trace)
        for (const auto& path : in.trace->paths)
            for (const TracePoint& t : path) points.push_back(t.pos);
    const PictureView view = FitView(points, in.longSide, in.minShortSide, kMargin);
    CoursePicture out{view, Image(view.width, view.height, {0, 0, 0, 1}), {}};
    ShadeGround(out.image, view, in.ground);
    MapPainter paint(out.image, text);
    Drawing(in, out, paint).Run();
    return out;
}
