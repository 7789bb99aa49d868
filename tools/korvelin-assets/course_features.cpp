// Main course, trigger gates, routes and joins, found the way the game's characters meet them.
#include "course_features.hpp"

#include <map>

namespace {

constexpr float kJoinDistance = 500.0f;

Vec3 Position(const CheckPoint& cp) { return cp.world.Row(3); }

bool RayMeetsGate(const CheckPoint& gate, const platform::MeshData& mesh, Vec3 origin, Vec3 dir) {
    const Matrix inv = MatrixInverse(gate.world);
    const platform::RayHit hit = mesh.Intersect(Vec3TransformCoord(origin, inv), Vec3TransformNormal(dir, inv));
    return hit.hit && hit.distance < kJoinDistance;
}

// The enemy passes its end gate heading the way it came from the gate before.
Vec3 Heading(const CourseList& course, const EnemyRoute& route) {
    const CheckPoint& end = *course[route.records.back()];
    if (route.records.size() >= 2) {
        const Vec3 leg = Position(end) - Position(*course[route.records[route.records.size() - 2]]);
        if (Vec3Length(leg) > 0) return Vec3Normalize(leg);
    }
    return Vec3Normalize(end.world.Row(2));
}

}  // namespace

bool CourseFeatures::HasRoute(int enemy) const {
    for (const EnemyRoute& r : routes)
        if (r.enemy == enemy) return true;
    return false;
}

CourseFeatures FindCourseFeatures(const CourseList& course, const platform::MeshData& gateMesh) {
    CourseFeatures out;
    std::map<int, std::size_t> spawns;  // enemy number -> its first record
    int triggers = 0;
    for (std::size_t i = 0; i < course.size(); ++i) {
        const CheckPoint& cp = *course[i];
        if (cp.enemyNo == 0) {
            MainGate gate{i, cp.kind, 0};
            if (cp.kind == checkpoint_kind::kTrigger) gate.releases = ++triggers;
            out.main.push_back(gate);
        } else if (cp.enemyNo > 0) {
            spawns.emplace(cp.enemyNo, i);
        }
    }
    for (const auto& [enemy, spawn] : spawns) {
        EnemyRoute route{enemy, {spawn}, std::nullopt};
        // It is placed at its spawn gate and heads for the next record, so the spawn's own kind
        // does not end the route.
        for (std::size_t i = spawn + 1; i < course.size(); ++i) {
            route.records.push_back(i);
            if (course[i]->kind == checkpoint_kind::kEnd) break;
        }
        if (route.records.size() >= 2 && course[route.records.back()]->kind == checkpoint_kind::kEnd) {
            const Vec3 from = Position(*course[route.records.back()]);
            const Vec3 dir = Heading(course, route);
            for (const MainGate& g : out.main)
                if (RayMeetsGate(*course[g.record], gateMesh, from, dir)) {
                    route.joins = g.record;
                    break;
                }
        }
        out.routes.push_back(std::move(route));
    }
    return out;
}
