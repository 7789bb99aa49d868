// The course checker: list order first, then the geometry on the real meshes.
#include "course/course_check.hpp"

#include <cmath>
#include <cstdio>

#include "platform/mesh/x_file_loader.hpp"

namespace {

using route_timing::kPlayerSpeed;
constexpr float kUpdatesPerSecond = 62.5f;
constexpr float kFlightHeight = 7.0f;
constexpr float kGateDrop = 110.0f;
constexpr float kPassDistance = 5.0f;
constexpr float kPassSide = 30.0f;  // the craft strafes this far off the line and still passes
constexpr float kMainGroundTolerance = 15.0f;
constexpr float kEnemyGroundTolerance = 5.0f;
constexpr float kShortestRun = 120.0f;  // seconds
constexpr float kLongestRun = 180.0f;
constexpr float kJoinDistance = 500.0f;
constexpr float kTurnUpdates = 34.0f;    // the player's turn towards its next gate
constexpr float kSharpestTurn = 60.0f;   // degrees at one gate
constexpr float kJoinNearPlayer = 150.0f;

std::string Format(const char* fmt, double a = 0, double b = 0, double c = 0) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

// The angle between two horizontal directions, in degrees.
float TurnDegrees(Vec3 from, Vec3 to) { return std::acos(std::fmax(-1.0f, std::fmin(1.0f, Vec3Dot(from, to)))) * 57.29578f; }

Vec3 Position(const CheckPoint& cp) { return cp.world.Row(3); }

Vec3 Flat(Vec3 v) {
    v.y = 0;
    const float len = Vec3Length(v);
    return len > 0 ? v / len : Vec3{0, 0, 1};
}

// A ray carried into a gate's frame (by the inverse of its world) and tested against its mesh,
// as the game's pass test does.
platform::RayHit RayAtGate(const Matrix& inv, const platform::MeshData& mesh, Vec3 origin, Vec3 dir) {
    return mesh.Intersect(Vec3TransformCoord(origin, inv), Vec3TransformNormal(dir, inv));
}

CourseGround::RayTest MeshRay(const platform::MeshData& mesh) {
    return [&mesh](Vec3 origin, Vec3 dir, float* distance) {
        const platform::RayHit hit = mesh.Intersect(origin, dir);
        *distance = hit.distance;
        return hit.hit;
    };
}

// Ground height under (x, z) on a map, if the map has ground there.
bool GroundAt(const platform::MeshData& map, float x, float z, float* height) {
    const platform::RayHit hit = map.Intersect({x, 100000.0f, z}, {0, -1, 0});
    if (!hit.hit) return false;
    *height = 100000.0f - hit.distance;
    return true;
}

class Checker {
public:
    Checker(const CourseList& c, const CourseMeshes& m, CourseCheckReport& r) : course_(c), meshes_(m), report_(r) {}

    void Run() {
        if (!Expect("records", course_.size() >= 2, Format("%g records", static_cast<double>(course_.size()))))
            return;
        const CourseGround ground = GroundOf(meshes_);
        const std::string refusal = FindUnplayableCourse(course_, &ground);
        Expect("game-rules", refusal.empty(), refusal.empty() ? "the game plays this course" : "the game refuses it: " + refusal);
        for (const auto& cp : course_) inverse_.push_back(MatrixInverse(cp->world));
        if (!Order()) return;
        MainGeometry();
        RouteGeometry();
    }

private:
    bool Expect(const char* check, bool ok, const std::string& detail) {
        report_.findings.push_back({check, ok, detail});
        return ok;
    }

    // The main course first (start ... goal), then each route contiguous from spawn to end.
    bool Order() {
        size_t m = 0;
        while (m < course_.size() && course_[m]->enemyNo == 0) ++m;
        mainEnd_ = m;
        report_.mainGates = static_cast<int>(m);
        bool ok = Expect("main-course-first", m >= 2 && course_[0]->kind == checkpoint_kind::kStart &&
                                                   course_[m - 1]->kind == checkpoint_kind::kEnd,
                         Format("%g main-course gates, first kind %g, last kind %g", static_cast<double>(m),
                                course_[0]->kind, m ? course_[m - 1]->kind : -1));
        for (size_t i = 1; i + 1 < m; ++i) {
            const int k = course_[i]->kind;
            if (k != checkpoint_kind::kPlain && k != checkpoint_kind::kTrigger)
                ok = Expect("main-course-kinds", false, Format("main gate %g has kind %g", static_cast<double>(i), k));
            if (k == checkpoint_kind::kTrigger) triggerGates_.push_back(i);
        }
        report_.triggers = static_cast<int>(triggerGates_.size());
        size_t i = m;
        int route = 0;
        while (i < course_.size()) {
            ++route;
            const size_t first = i;
            const int group = course_[i]->enemyNo;
            ok &= Expect("route-spawn", course_[i]->kind == checkpoint_kind::kStart && group == route,
                         Format("route %g starts at record %g with kind %g", route, static_cast<double>(i), course_[i]->kind) +
                             Format(" and enemyNo %g", group));
            ++i;
            while (i < course_.size() && course_[i]->enemyNo == group && course_[i]->kind != checkpoint_kind::kEnd &&
                   course_[i]->kind != checkpoint_kind::kStart)
                ++i;
            const bool ended = i < course_.size() && course_[i]->enemyNo == group && course_[i]->kind == checkpoint_kind::kEnd;
            ok &= Expect("route-contiguous", ended && i - first >= 2,
                         Format("route %g runs from record %g to %g", route, static_cast<double>(first), static_cast<double>(i)));
            if (!ended) return false;
            routes_.push_back({first, i});
            ++i;
        }
        report_.routes = route;
        ok &= Expect("routes-released", report_.triggers >= report_.routes,
                     Format("%g trigger gates for %g routes", report_.triggers, report_.routes));
        return ok;
    }

    // Where the player flies past main gate k: 110 units above the gate.
    Vec3 Flight(size_t k) const { return Position(*course_[k]) + Vec3{0, kGateDrop, 0}; }

    void MainGeometry() {
        // Length and duration of the run along the flight path.
        std::vector<float> arc(mainEnd_, 0.0f);
        for (size_t k = 1; k < mainEnd_; ++k) arc[k] = arc[k - 1] + Vec3Length(Flight(k) - Flight(k - 1));
        arc_ = arc;
        report_.mainLength = arc.back();
        report_.mainSeconds = arc.back() / kPlayerSpeed / kUpdatesPerSecond;
        Expect("duration", report_.mainSeconds >= kShortestRun && report_.mainSeconds <= kLongestRun,
               Format("%.0f units, %.1f s", report_.mainLength, report_.mainSeconds));

        for (size_t k = 0; k < mainEnd_; ++k) {
            const Vec3 gate = Position(*course_[k]);
            float ground = 0;
            const bool over = GroundAt(meshes_.mapA, gate.x, gate.z, &ground);
            // The player flies 7 above the ground; the gate expects it 110 above its origin.
            Expect("main-gate-over-ground", over && std::fabs(ground + kFlightHeight - (gate.y + kGateDrop)) < kMainGroundTolerance,
                   Format("gate %g: ground %.1f, gate origin %.1f", static_cast<double>(k), over ? ground : -1e9, gate.y));
            if (k == 0) continue;
            const float spacing = arc[k] - arc[k - 1];
            Expect("main-gate-spacing", spacing > kTurnUpdates * kPlayerSpeed * 2.0f,
                   Format("gate %g is %.0f units after the one before", static_cast<double>(k), spacing));
            const Vec3 dir = Flat(Flight(k) - Flight(k - 1));
            if (k + 1 < mainEnd_) {
                const float turn = TurnDegrees(dir, Flat(Flight(k + 1) - Flight(k)));
                Expect("main-gate-turn", turn < kSharpestTurn, Format("turn at gate %g: %.1f degrees", static_cast<double>(k), turn));
            }
            // The player's pass test: its forward ray meets the gate panel within 5 units, also
            // when the player has strafed a little off the line.
            const Vec3 right = Vec3Cross({0, 1, 0}, dir);
            for (float side : {-kPassSide, 0.0f, kPassSide}) {
                Vec3 from = Flight(k) - dir * 3.0f + right * side;
                float g = 0;
                if (GroundAt(meshes_.mapA, from.x, from.z, &g)) from.y = g + kFlightHeight;
                const platform::RayHit hit = RayAtGate(inverse_[k], meshes_.gate, from, dir);
                Expect("main-gate-pass", hit.hit && hit.distance < kPassDistance,
                       Format("gate %g: hit %g at %.2f", static_cast<double>(k), hit.hit, hit.distance) +
                           Format(" from %.0f units to the side", side));
            }
        }
        // The player starts 120 above gate 0 facing +z and does not turn before gate 1.
        const Vec3 start = Position(*course_[0]) + Vec3{0, kGateDrop, 0};
        const platform::RayHit first = RayAtGate(inverse_[1], meshes_.gate, start, {0, 0, 1});
        Expect("start-faces-first-gate", first.hit, Format("gate 1 straight ahead at %.0f", first.hit ? first.distance : -1));
    }

    void RouteGeometry() {
        for (size_t r = 0; r < routes_.size(); ++r) {
            const auto [first, last] = routes_[r];
            float legs = 0;  // flown at the route speed: all but the last leg
            for (size_t i = first; i <= last; ++i) {
                const Vec3 p = Position(*course_[i]);
                float ground = 0;
                const bool over = GroundAt(meshes_.mapD, p.x, p.z, &ground);
                Expect("enemy-gate-over-ground", over && std::fabs(ground + kFlightHeight - p.y) < kEnemyGroundTolerance,
                       Format("record %g: ground %.1f, gate %.1f", static_cast<double>(i), over ? ground : -1e9, p.y));
                if (i == first) continue;
                const Vec3 prev = Position(*course_[i - 1]);
                const Vec3 dir = Vec3Normalize(p - prev);
                if (i < last) {
                    legs += Vec3Length(p - prev);
                    // The enemy turns at once at every gate, so its chain kinks there.
                    const float turn = TurnDegrees(Flat(dir), Flat(Position(*course_[i + 1]) - p));
                    Expect("enemy-gate-turn", turn < kSharpestTurn, Format("turn at record %g: %.1f degrees", static_cast<double>(i), turn));
                }
                // The enemy faces each gate squarely and meets its panel at the origin.
                const platform::RayHit hit = RayAtGate(inverse_[i], meshes_.enemyGate, p - dir * 3.0f, dir);
                Expect("enemy-gate-pass", hit.hit && hit.distance < kPassDistance,
                       Format("record %g: hit %g at %.2f", static_cast<double>(i), hit.hit, hit.distance));
            }
            CheckJoin(r, legs);
        }
    }

    // Arc along the main flight path of its point nearest to p, seen from above.
    float ArcOf(Vec3 p) const {
        float best = 1e30f, at = 0;
        for (size_t k = 1; k < mainEnd_; ++k) {
            const Vec3 a = Flight(k - 1), b = Flight(k);
            const Vec3 ab{b.x - a.x, 0, b.z - a.z}, ap{p.x - a.x, 0, p.z - a.z};
            const float t = std::fmax(0.0f, std::fmin(1.0f, Vec3Dot(ap, ab) / Vec3Dot(ab, ab)));
            const float d = Vec3Length(ap - ab * t);
            if (d >= best) continue;
            best = d;
            at = arc_[k - 1] + (arc_[k] - arc_[k - 1]) * t;
        }
        return at;
    }

    // At its end gate the enemy looks for the first main-course gate its forward ray meets
    // within 500 units and joins the main course there; that gate must not be the goal. And it
    // should join close to the player: far ahead, it only drifts off sideways while the player
    // slowly catches up, and never meets it.
    void CheckJoin(size_t r, float legs) {
        const auto [first, last] = routes_[r];
        const Vec3 end = Position(*course_[last]);
        const Vec3 prev = Position(*course_[last - 1]);
        const Vec3 dir = Vec3Normalize(end - prev);
        const Vec3 right = Vec3Cross({0, 1, 0}, Flat(dir));
        // The enemy chases on its last leg and drifts sideways by up to a unit per update.
        const float lastLeg = Vec3Length(end - prev);
        const float drift = route_timing::LastLegUpdates(lastLeg);
        for (float side : {-0.5f, 0.0f, 0.5f, 1.0f}) {
            const Vec3 from = end + right * (side * drift);
            size_t found = 0;
            float distance = 0;
            for (size_t k = 0; k < mainEnd_ && !found; ++k) {
                const platform::RayHit hit = RayAtGate(inverse_[k], meshes_.gate, from, dir);
                if (hit.hit && hit.distance < kJoinDistance) {
                    found = k;
                    distance = hit.distance;
                }
            }
            Expect("enemy-joins", found > 0 && found + 1 < mainEnd_,
                   Format("route %g joins at gate %g, %.0f units ahead", static_cast<double>(r + 1), static_cast<double>(found), distance) +
                       Format(" from %.0f units to the side", side * drift));
        }
        // routes-released reports a route without a trigger gate, the game's rules an enemy
        // beyond the limit (whose timing is left out, so the check ends soon on any course).
        if (r >= triggerGates_.size() || r >= static_cast<size_t>(course_limits::kMaxEnemies)) return;
        // The first enemy is released as the player passes its trigger gate; the later ones
        // earlier, as the enemies already chasing pass that gate ahead of the player.
        const size_t trigger = triggerGates_[r];
        const float early = r == 0 ? 0.0f : route_timing::ChaseLead(arc_[trigger] - arc_[trigger - 1]);
        const float updates = route_timing::RouteUpdates(legs, lastLeg) - early;
        const float ahead = ArcOf(end) - (arc_[trigger] + updates * kPlayerSpeed);
        Expect("enemy-joins-near-player", std::fabs(ahead) < kJoinNearPlayer,
               Format("route %g joins %.0f updates after the player passes its trigger gate, %.0f units ahead of it", static_cast<double>(r + 1),
                      updates, ahead));
    }

    const CourseList& course_;
    const CourseMeshes& meshes_;
    CourseCheckReport& report_;
    size_t mainEnd_ = 0;
    std::vector<size_t> triggerGates_;
    std::vector<std::pair<size_t, size_t>> routes_;
    std::vector<float> arc_;
    std::vector<Matrix> inverse_;  // of every record's world
};

}  // namespace

bool CourseMeshes::Load(const std::string& modelDir, std::string* error) {
    std::string message;
    const std::pair<const char*, platform::MeshData*> files[] = {
        {kFiles[0], &mapA}, {kFiles[1], &mapD}, {kFiles[2], &gate}, {kFiles[3], &enemyGate}};
    for (auto [name, mesh] : files) {
        if (!platform::LoadXFile(modelDir + "/" + name, *mesh, message)) {
            if (error) *error = message;
            return false;
        }
    }
    return true;
}

CourseGround GroundOf(const CourseMeshes& meshes) { return {MeshRay(meshes.mapA), MeshRay(meshes.gate)}; }

CourseCheckReport CheckCourse(const CourseList& course, const CourseMeshes& meshes) {
    CourseCheckReport report;
    Checker(course, meshes, report).Run();
    return report;
}

std::vector<CourseRule> CourseCheckRules() {
    return {
        {"game-rules", "the game itself plays the course: its structure and limits (records, enemies, the maps' reach), and every gate of the "
                       "player's course one the craft can pass (checked first; a course the game refuses is never OK)"},
        {"records", "the file holds at least two gate records"},
        {"main-course-first", "the main course (CPGroup 0) comes first: at least two gates, the first a start (CPID 0), "
                              "the last the goal (CPID 2)"},
        {"main-course-kinds", "the main-course gates between the start and the goal are plain (CPID 1) or triggers (CPID 3)"},
        {"route-spawn", "after the main course, route k (k = 1, 2, ...) begins with its spawn gate (CPID 0, CPGroup k)"},
        {"route-contiguous", "a route's gates follow each other, at least one between its spawn gate and its end gate "
                             "(CPID 2, same CPGroup)"},
        {"routes-released", "at least as many trigger gates as routes: trigger k releases enemy k"},
        {"duration", Format("the main course, flown from the start to the goal along the flight path, takes %.0f to "
                            "%.0f s",
                            kShortestRun, kLongestRun) +
                         Format(" (the craft flies %.1f units an update, %.1f updates a second)", kPlayerSpeed, kUpdatesPerSecond)},
        {"main-gate-over-ground", Format("each main gate stands over the ground of mapA.x, and the point the craft "
                                         "flies through, %.0f units above the gate's origin, is within %.0f units of "
                                         "the flight height, %.0f above the ground",
                                         kGateDrop, kMainGroundTolerance, kFlightHeight)},
        {"main-gate-spacing", Format("each main gate lies more than %.0f units along the flight path after the one before",
                                     kTurnUpdates * kPlayerSpeed * 2.0f)},
        {"main-gate-turn", Format("the main course turns by less than %.0f degrees at each gate", kSharpestTurn)},
        {"main-gate-pass", Format("the craft's forward ray, from 3 units before a main gate on its line and %.0f units to "
                                  "either side, meets the gate's panel within %.0f units",
                                  kPassSide, kPassDistance)},
        {"start-faces-first-gate", "gate 1 stands straight ahead (+z) of the start gate: the craft begins the run "
                                   "facing +z and turns only after gate 1"},
        {"enemy-gate-over-ground", Format("each route gate stands over the ground of mapD.x, within %.0f units of %.0f "
                                          "above it",
                                          kEnemyGroundTolerance, kFlightHeight)},
        {"enemy-gate-turn", Format("a route turns by less than %.0f degrees at each gate", kSharpestTurn)},
        {"enemy-gate-pass", Format("an enemy flying a route's leg meets the next gate's panel within %.0f units (the gate "
                                   "faces the leg)",
                                   kPassDistance)},
        {"enemy-joins", Format("from a route's end gate, straight on (also drifted aside), the first main gate met within "
                               "%.0f units is neither the start nor the goal",
                               kJoinDistance)},
        {"enemy-joins-near-player", Format("an enemy joins the main course less than %.0f units from where the player "
                                           "then is",
                                           kJoinNearPlayer)},
    };
}
