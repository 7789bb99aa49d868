// Lays the course out from the canyon's centre line.
#include "course_layout.hpp"

#include <cmath>
#include <vector>

#include "terrain.hpp"

namespace course_layout {
namespace {

constexpr float kTwoPi = 6.28318530717959f;

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

    // Enemy routes: the enemy appears ahead of the player at its spawn gate, weaves across
    // the canyon through its spinning gates and joins the main course in front of the player.
    constexpr float kSpawnAhead = 450.0f;
    constexpr float kRouteStep = 150.0f;
    constexpr float kLastLeg = 80.0f;
    constexpr float kWeave[] = {110.0f, 50.0f, -40.0f, -100.0f, -70.0f, -10.0f, 0.0f};
    int enemy = 0;
    for (int trigger : kTriggerGates) {
        ++enemy;
        const float side = enemy % 2 == 1 ? 1.0f : -1.0f;
        const float s0 = kMainSpacing * static_cast<float>(trigger) + kSpawnAhead;
        std::vector<Vec3> route;
        for (size_t j = 0; j < std::size(kWeave); ++j)
            route.push_back(line.Point(s0 + kRouteStep * static_cast<float>(j), side * kWeave[j]));
        route.push_back(line.Point(s0 + kRouteStep * static_cast<float>(std::size(kWeave) - 1) + kLastLeg, 0));
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
