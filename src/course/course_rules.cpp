// The rules a playable course keeps.
#include "course/course_rules.hpp"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace {

using checkpoint_kind::kEnd;
using checkpoint_kind::kStart;
namespace limits = course_limits;

// The craft's flight, as the player's own code flies it: it starts above the first gate facing
// +z and flies straight on to the second; after passing a gate it turns towards the next one's
// place (never towards a goal); it keeps this far above the ground, and passes a gate when its
// forward ray meets the panel this close ahead.
constexpr float kFlightHeight = 7.0f;
constexpr float kPassDistance = 5.0f;
constexpr float kSkyHeight = 100000.0f;  // ground is found by a ray straight down from here
// The craft must cross a panel at least this steeply (the sine of about 6 degrees): nearer
// edge-on its ray runs along the panel, and its pass test would meet it only by chance.
constexpr float kLeastCrossing = 0.1f;

std::string Record(std::size_t index) { return "record " + std::to_string(index + 1); }

std::string Number(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
}

Vec3 Position(const CheckPoint& cp) { return cp.world.Row(3); }

// The horizontal part of a - b.
Vec3 FlatBetween(Vec3 a, Vec3 b) { return {a.x - b.x, 0.0f, a.z - b.z}; }

// From `from` on, the records of one route (enemyNo `group`) must reach an end gate before the
// route changes or the list ends. Returns the end gate's index, or the list's size.
std::size_t RouteEnd(const CourseList& course, std::size_t from, int group) {
    for (std::size_t i = from; i < course.size() && course[i]->enemyNo == group; ++i)
        if (course[i]->kind == kEnd) return i;
    return course.size();
}

bool WithinReach(Vec3 p) {
    // Written so that a NaN is out of reach as well.
    return std::fabs(p.x) <= limits::kReachXZ && std::fabs(p.z) <= limits::kReachXZ && std::fabs(p.y) <= limits::kReachY;
}

std::string Structure(const CourseList& course, std::size_t* goal) {
    if (course.size() < 2)
        return "a course needs at least two records, this one has " + std::to_string(course.size());
    for (std::size_t i = 0; i < course.size(); ++i) {
        const Vec3 p = Position(*course[i]);
        if (!WithinReach(p))
            return Record(i) + ": the gate stands beyond the maps' reach, at (" + Number(p.x) + ", " + Number(p.y) + ", " +
                   Number(p.z) + "); x and z must lie within " + Number(limits::kReachXZ) + " of 0, y within " +
                   Number(limits::kReachY);
    }
    if (course[0]->enemyNo != 0) return Record(0) + " must belong to the main course (enemyNo 0)";
    // The player starts at the first record and heads for the second.
    *goal = RouteEnd(course, 1, 0);
    if (*goal == course.size()) return "the main course has no goal gate (kind 2) after its start";

    // Spawn gate n makes enemy n, which is released at the first record of route n.
    std::vector<std::size_t> spawns;
    for (std::size_t i = 0; i < course.size(); ++i)
        if (course[i]->kind == kStart && course[i]->enemyNo != 0) spawns.push_back(i);
    if (spawns.size() > static_cast<std::size_t>(limits::kMaxEnemies))
        return "the course has " + std::to_string(spawns.size()) + " spawn gates (enemies), the most is " +
               std::to_string(limits::kMaxEnemies);
    std::vector<std::size_t> first(spawns.size() + 1, course.size());
    for (std::size_t i = 0; i < course.size(); ++i) {
        const int group = course[i]->enemyNo;
        if (group >= 1 && static_cast<std::size_t>(group) <= spawns.size() && first[group] == course.size()) first[group] = i;
    }
    for (std::size_t n = 1; n <= spawns.size(); ++n) {
        if (first[n] == course.size())
            return "the spawn gate at " + Record(spawns[n - 1]) + " makes enemy " + std::to_string(n) +
                   ", but no record belongs to route " + std::to_string(n);
        if (RouteEnd(course, first[n] + 1, static_cast<int>(n)) == course.size())
            return "route " + std::to_string(n) + " (from " + Record(first[n]) + ") has no end gate (kind 2)";
    }
    return {};
}

// Each gate of the player's course can be inverted and stands apart from the one before.
std::string PlayerGates(const CourseList& course, std::size_t goal) {
    for (std::size_t k = 0; k <= goal; ++k)
        if (std::string problem = GateMatrixProblem(course[k]->world); !problem.empty()) return Record(k) + ": " + problem;
    const Vec3 start = Position(*course[0]);
    if (Vec3Length(FlatBetween(Position(*course[goal]), start)) < limits::kMinLeg)
        return Record(goal) + ": the goal stands on the start";
    for (std::size_t k = 1; k <= goal; ++k) {
        const float leg = Vec3Length(FlatBetween(Position(*course[k]), Position(*course[k - 1])));
        if (leg < limits::kMinLeg)
            return Record(k) + ": the gate stands on " + Record(k - 1) + " (" + Number(leg) +
                   " units from it, seen from above); the craft cannot head for a gate it stands on";
    }
    return {};
}

class Flight {
public:
    Flight(const CourseList& course, const CourseGround& ground) : course_(course), ground_(ground) {}

    // Where the craft flies at (x, z): its height over the ground, if there is ground.
    bool Height(Vec3 at, float* y) const {
        float distance = 0;
        if (!ground_.map({at.x, kSkyHeight, at.z}, {0, -1, 0}, &distance)) return false;
        *y = kSkyHeight - distance + kFlightHeight;
        return true;
    }

    // The craft flies level along `dir` (flat, unit length) from `from`, 7 above the ground:
    // true when its pass test meets gate k's panel where its line crosses the panel.
    bool Meets(std::size_t k, Vec3 from, Vec3 dir) const {
        const Matrix& world = course_[k]->world;
        const Matrix inverse = MatrixInverse(world);
        float y = 0;
        if (!Height(Position(*course_[k]), &y)) return false;
        // Where the line at the gate's flight height crosses the panel's plane (z = 0 in the
        // gate's frame), as a distance along dir from `from`.
        from.y = y;
        const float z0 = Vec3TransformCoord(from, inverse).z;
        const Vec3 across = Vec3TransformNormal(dir, inverse);
        const float z1 = across.z;
        if (!(std::fabs(z1) >= kLeastCrossing * Vec3Length(across))) return false;  // (nearly) edge-on
        const float along = -z0 / z1;
        if (!(along > 0)) return false;  // behind the craft
        Vec3 origin = from + dir * (along - 3.0f);
        if (!Height(origin, &origin.y)) origin.y = y;
        float distance = 0;
        return ground_.gate(Vec3TransformCoord(origin, inverse), Vec3TransformNormal(dir, inverse), &distance) &&
               distance < kPassDistance;
    }

    std::string Check(std::size_t goal) const {
        for (std::size_t k = 0; k <= goal; ++k) {
            float y = 0;
            if (!Height(Position(*course_[k]), &y)) return Record(k) + ": the gate stands where the map has no ground";
        }
        // The craft faces +z at the start and flies straight on to the second gate; it turns
        // towards every later gate's place, but flies straight on from the gate before the goal.
        Vec3 at = Position(*course_[0]), heading{0, 0, 1};
        for (std::size_t k = 1; k <= goal; ++k) {
            const bool straight = k == 1 || k == goal;
            if (!straight) heading = Vec3Normalize(FlatBetween(Position(*course_[k]), at));
            if (!Meets(k, at, heading)) {
                if (k == 1)
                    return Record(k) + ": the craft, flying straight ahead (+z) from the start, never meets the gate's panel";
                if (k == goal)
                    return Record(k) + ": the craft, flying straight on from " + Record(k - 1) +
                           " (it does not turn towards a goal), never meets the goal's panel";
                return Record(k) + ": the craft, flying 7 above the ground towards the gate, never meets its panel";
            }
            at = Position(*course_[k]);
        }
        return {};
    }

private:
    const CourseList& course_;
    const CourseGround& ground_;
};

}  // namespace

std::string GateMatrixProblem(const Matrix& world) {
    const float* e = world.Data();
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(e[i])) return "the gate's matrix holds a value that is not a number";
    if (e[3] != 0 || e[7] != 0 || e[11] != 0 || e[15] != 1) {
        if (e[3] == 0 && e[7] == 0 && e[11] == 0 && e[15] == 0) return "the gate's matrix cannot be inverted (w = 0)";
        return "the gate's matrix is not a placement (its last column is " + Number(e[3]) + " " + Number(e[7]) + " " +
               Number(e[11]) + " " + Number(e[15]) + ", not 0 0 0 1)";
    }
    double axis[3][3], length[3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) axis[r][c] = world.m[r][c];
        length[r] = std::sqrt(axis[r][0] * axis[r][0] + axis[r][1] * axis[r][1] + axis[r][2] * axis[r][2]);
    }
    const double shortest = std::fmin(length[0], std::fmin(length[1], length[2]));
    const double longest = std::fmax(length[0], std::fmax(length[1], length[2]));
    if (shortest < limits::kMinGateScale) return "the gate's matrix cannot be inverted (scale " + Number(shortest) + ")";
    if (longest > limits::kMaxGateScale)
        return "the gate's matrix is beyond the maps' reach (scale " + Number(longest) + ", the most is " +
               Number(limits::kMaxGateScale) + ")";
    // The volume the three axes span, against the box they would span at right angles.
    const double volume = axis[0][0] * (axis[1][1] * axis[2][2] - axis[1][2] * axis[2][1]) -
                          axis[0][1] * (axis[1][0] * axis[2][2] - axis[1][2] * axis[2][0]) +
                          axis[0][2] * (axis[1][0] * axis[2][1] - axis[1][1] * axis[2][0]);
    if (std::fabs(volume) < 1e-3 * length[0] * length[1] * length[2])
        return "the gate's matrix cannot be inverted (its axes lie flat)";
    return {};
}

std::string FindUnplayableCourse(const CourseList& course, const CourseGround* ground) {
    std::size_t goal = 0;
    if (std::string problem = Structure(course, &goal); !problem.empty()) return problem;
    if (std::string problem = PlayerGates(course, goal); !problem.empty()) return problem;
    if (ground) return Flight(course, *ground).Check(goal);
    return {};
}

std::string LoadPlayableCourse(const std::string& path, CourseList& course, const CourseGround* ground) {
    const CourseLoadReport report = LoadCourse(path, course);
    // The load's own message already names the file.
    std::string problem = report.Ok() ? FindUnplayableCourse(course, ground) : report.message;
    if (problem.empty()) return {};
    if (report.Ok()) problem = path + ": " + problem;
    course.clear();
    return problem;
}
