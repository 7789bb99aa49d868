// Lays the course out from the canyon's centre line.
#include "course_layout.hpp"

#include <cmath>
#include <vector>

#include "course/course_check.hpp"
#include "terrain.hpp"

namespace course_layout {
namespace {

constexpr float kTwoPi = 6.28318530717959f;
constexpr float kPi = 3.14159265358979f;

// Enemy routes. Each enemy is released ahead of the player, weaves across the canyon and comes
// back onto the centre line for a short last leg, at whose end gate it joins the main course.
// Weaving, it makes less way along the canyon than the player, who draws level meanwhile.
constexpr int kJoinAfterTrigger = 3;        // the route ends before the third main gate after its trigger
constexpr float kEndBeforeJoinGate = 60.0f;
// Having joined, the enemy heads for the gate after the one it joined at, a later gate than the
// player's, so it holds back at 1.0: joining a little ahead, it lets the player fly into its
// chain at once. Joining behind, it falls further back until the player passes that gate.
constexpr float kJoinLead = 50.0f;
constexpr float kLastLeg = 40.0f;           // along the centre line, into the end gate
constexpr float kWeaveAmplitude = 120.0f;   // well inside the canyon floor
constexpr float kHalfWaves = 3.5f;          // from one side across the canyon 3 times, then onto the centre line
constexpr int kWeaveGates = 28;             // 8 per half-wave keep each turn below 40 degrees

// Arc length along the centre line, sampled finely enough for gate placement.
class CentreLine {
public:
    CentreLine() {
        constexpr int kSteps = 40000;
        Vec3 prev = terrain::CentrePoint(0);
        theta_.push_back(0);
        arc_.push_back(0);
        for (int i = 1; i <= kSteps; ++i) {
            const float t = kTwoPi * static_cast<float>(i) / kSteps;
            const Vec3 p = terrain::CentrePoint(t);
            const float dx = p.x - prev.x, dz = p.z - prev.z;
            theta_.push_back(t);
            arc_.push_back(arc_.back() + std::sqrt(dx * dx + dz * dz));
            prev = p;
        }
    }
    float ThetaAtArc(float s) const {
        size_t lo = 0, hi = arc_.size() - 1;
        while (hi - lo > 1) {
            const size_t mid = (lo + hi) / 2;
            (arc_[mid] <= s ? lo : hi) = mid;
        }
        const float f = (s - arc_[lo]) / (arc_[hi] - arc_[lo]);
        return theta_[lo] + (theta_[hi] - theta_[lo]) * f;
    }
    // Point on the ground at arc s, moved `lateral` units to the right of the direction of travel.
    Vec3 Point(float s, float lateral) const {
        const float t = ThetaAtArc(s);
        const Vec3 p = terrain::CentrePoint(t);
        const Vec3 q = terrain::CentrePoint(ThetaAtArc(s + 1.0f));
        Vec3 fwd{q.x - p.x, 0, q.z - p.z};
        fwd = fwd / Vec3Length(fwd);
        const Vec3 right = Vec3Cross({0, 1, 0}, fwd);
        Vec3 r = p + right * lateral;
        r.y = terrain::Height(r.x, r.z);
        return r;
    }

private:
    std::vector<float> theta_;
    std::vector<float> arc_;
};

// A gate at `at` whose own z axis points along the horizontal direction `forward`.
Matrix GateWorld(Vec3 at, Vec3 forward) {
    Vec3 f{forward.x, 0, forward.z};
    f = f / Vec3Length(f);
    Matrix m = Matrix::Identity();
    m.SetRow(0, Vec3Cross({0, 1, 0}, f));
    m.SetRow(1, {0, 1, 0});
    m.SetRow(2, f);
    m.SetRow(3, at);
    return m;
}

void Add(CourseList& list, int kind, int enemyNo, const Matrix& world) {
    auto cp = std::make_unique<CheckPoint>();
    cp->kind = kind;
    cp->enemyNo = enemyNo;
    cp->world = world;
    cp->UpdateEditedWorld();
    list.push_back(std::move(cp));
}

bool IsTrigger(int gate) {
    for (int t : kTriggerGates)
        if (t == gate) return true;
    return false;
}

// The weave from the spawn gate at arc `spawn` to the centre line kLastLeg before the end gate at
// arc `end`, then the end gate; `side` is +1 to start on the right of the canyon, -1 on the left.
std::vector<Vec3> Route(const CentreLine& line, float spawn, float end, float side) {
    std::vector<Vec3> route;
    const float extent = end - kLastLeg - spawn;
    for (int i = 0; i <= kWeaveGates; ++i) {
        const float f = static_cast<float>(i) / kWeaveGates;
        // The last half-wave fades out, so the enemy comes onto the centre line gently.
        const float fade = std::fmin(1.0f, (1.0f - f) * kHalfWaves);
        route.push_back(line.Point(spawn + extent * f, side * kWeaveAmplitude * fade * std::cos(kPi * kHalfWaves * f)));
    }
    route.push_back(line.Point(end, 0));
    return route;
}

// What the enemy flies at the route speed: everything before the last leg.
float RouteLegs(const std::vector<Vec3>& route) {
    float length = 0;
    for (size_t j = 1; j + 1 < route.size(); ++j) length += Vec3Length(route[j] - route[j - 1]);
    return length;
}

}  // namespace

CourseList Build() {
    const CentreLine line;
    CourseList list;

    // Main course: ground points first, then each gate faces the way the player arrives.
    std::vector<Vec3> ground;
    ground.push_back(line.Point(0, 0));
    // The player starts facing +z and does not turn before the first gate: it stands due north.
    Vec3 first = ground[0] + Vec3{0, 0, kMainSpacing};
    first.y = terrain::Height(first.x, first.z);
    ground.push_back(first);
    for (int k = 2; k < kMainGates; ++k) ground.push_back(line.Point(kMainSpacing * static_cast<float>(k), 0));
    for (int k = 0; k < kMainGates; ++k) {
        const Vec3 forward = k == 0 ? Vec3{0, 0, 1} : ground[k] - ground[k - 1];
        const Vec3 origin = ground[k] + Vec3{0, kFlightHeight - kGateDrop, 0};
        int kind = checkpoint_kind::kPlain;
        if (k == 0) kind = checkpoint_kind::kStart;
        else if (k == kMainGates - 1) kind = checkpoint_kind::kEnd;
        else if (IsTrigger(k)) kind = checkpoint_kind::kTrigger;
        Add(list, kind, 0, GateWorld(origin, forward));
    }

    // Where the player flies past each main gate, measured along its flight.
    std::vector<float> flight(kMainGates, 0.0f);
    for (int k = 1; k < kMainGates; ++k) flight[k] = flight[k - 1] + Vec3Length(ground[k] - ground[k - 1]);

    const float chaseLead = route_timing::ChaseLead(kMainSpacing) * route_timing::kPlayerSpeed;
    int enemy = 0;
    for (int trigger : kTriggerGates) {
        ++enemy;
        const int joinGate = trigger + kJoinAfterTrigger;
        const float end = kMainSpacing * static_cast<float>(joinGate) - kEndBeforeJoinGate;
        // The first enemy is released as the player passes its trigger gate; the later ones
        // earlier, as the enemies already chasing the player pass that gate ahead of it.
        const float behindTrigger = enemy > 1 ? chaseLead : 0.0f;
        const float released = flight[trigger] - behindTrigger;
        // The enemy should reach its end gate when the player, flying on from the release, is
        // kJoinLead short of it.
        const float updates = (flight[joinGate] - kEndBeforeJoinGate - kJoinLead - released) / route_timing::kPlayerSpeed;
        // The further ahead of the player the spawn gate stands (never behind it), the shorter
        // the weave.
        const float side = enemy % 2 == 1 ? 1.0f : -1.0f;
        float near = kMainSpacing * static_cast<float>(trigger) - behindTrigger, far = end - kLastLeg - kMainSpacing;
        for (int step = 0; step < 40; ++step) {
            const float mid = (near + far) / 2;
            (route_timing::RouteUpdates(RouteLegs(Route(line, mid, end, side)), kLastLeg) > updates ? near : far) = mid;
        }
        const std::vector<Vec3> route = Route(line, near, end, side);
        for (size_t j = 0; j < route.size(); ++j) {
            const Vec3 forward = j == 0 ? route[1] - route[0] : route[j] - route[j - 1];
            const Vec3 origin = route[j] + Vec3{0, kFlightHeight, 0};
            int kind = checkpoint_kind::kTrigger;
            if (j == 0) kind = checkpoint_kind::kStart;
            else if (j + 1 == route.size()) kind = checkpoint_kind::kEnd;
            Add(list, kind, enemy, GateWorld(origin, forward));
        }
    }
    return list;
}

}  // namespace course_layout
