// Checks a course against everything the characters rely on: its order, its routes, and that
// the gates stand where the player and the enemies will really meet them on the maps.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "course/course_file.hpp"
#include "course/course_rules.hpp"
#include "platform/mesh/mesh_data.hpp"

struct CourseFinding {
    std::string check;   // short name, e.g. "main-course-first"
    bool ok = true;
    std::string detail;  // what was found, in a line
};

struct CourseCheckReport {
    std::vector<CourseFinding> findings;
    int mainGates = 0;
    int triggers = 0;
    int routes = 0;
    float mainLength = 0;   // units along the flight path
    float mainSeconds = 0;  // at 1.9 units per update and 62.5 updates per second
    bool Ok() const {
        for (const CourseFinding& f : findings)
            if (!f.ok) return false;
        return true;
    }
};

// The meshes the game tests against, from one model folder.
struct CourseMeshes {
    static constexpr const char* kFiles[] = {"mapA.x", "mapD.x", "CheckPoint.x", "CheckPoint2.x"};
    platform::MeshData mapA, mapD, gate, enemyGate;
    // Loads them from modelDir (e.g. "data/model"); false with a message when one fails.
    bool Load(const std::string& modelDir, std::string* error);
};

// The game's own rules first (the finding "game-rules": a course the game refuses is never OK),
// then everything else the characters rely on. Ends in time bounded by the course's records.
CourseCheckReport CheckCourse(const CourseList& course, const CourseMeshes& meshes);

// Every check a finding can name, with the rule it holds the course to, limits included.
struct CourseRule {
    std::string check;
    std::string rule;
};
std::vector<CourseRule> CourseCheckRules();

// The course rules' ray tests on these meshes (mapA and the main gate's panel); the meshes must
// outlive what is returned.
CourseGround GroundOf(const CourseMeshes& meshes);

// How long an enemy flies from its release at the spawn gate to joining the main course, and
// how far the player flies meanwhile. The course layout times its routes with this, and the
// checker holds every course to it.
namespace route_timing {

constexpr float kPlayerSpeed = 1.9f;  // units per update
constexpr float kEnemyRouteSpeed = 2.0f;
constexpr float kEnemySlowestChase = 1.0f;
constexpr float kEnemyPaceStep = 0.05f;
constexpr float kEnemyFastestChase = 2.5f;
// The longest leg the maps' reach allows (corner to corner, bottom to top), rounded up. The
// timings below simulate update by update; a longer leg (a course beyond the limits, which the
// rules refuse) is timed as this long, so the simulation always ends, and soon.
constexpr float kLongestLeg = 11000.0f;

static_assert(kLongestLeg * kLongestLeg >= 8 * course_limits::kReachXZ * course_limits::kReachXZ +
                                               4 * course_limits::kReachY * course_limits::kReachY);

// A length for the simulations: NaN counts as nothing, anything beyond kLongestLeg as that.
inline float BoundedLength(float length) { return length > 0 ? std::min(length, kLongestLeg) : 0.0f; }

// The last leg, towards the end gate, is flown in the chase: the enemy already heads for a
// later gate than the player, so it slows from the route speed by a step per update to 1.0.
inline float LastLegUpdates(float length) {
    length = BoundedLength(length);
    float speed = kEnemyRouteSpeed, flown = 0;
    int updates = 0;
    while (flown < length) {
        speed = std::max(kEnemySlowestChase, speed - kEnemyPaceStep);
        flown += speed;
        ++updates;
    }
    return static_cast<float>(updates);
}

// `legs` is the route from the spawn gate to the start of the last leg.
inline float RouteUpdates(float legs, float lastLeg) { return legs / kEnemyRouteSpeed + LastLegUpdates(lastLeg); }

// How many updates before the player an enemy that chases it passes each main gate, once the
// chase has settled: it catches up at 2.5 while both head for the same gate, passes it first and
// holds back at 1.0 until the player has passed it too. The trigger gates of the later enemies
// are passed this early, so they are released this early.
inline float ChaseLead(float gateSpacing) {
    gateSpacing = BoundedLength(gateSpacing);
    constexpr int kGates = 40;
    float enemyPassed[kGates + 2] = {};
    float player = 0, enemy = 0, speed = kEnemyRouteSpeed, lead = 0;
    int playerGate = 1, enemyGate = 1;  // the gates each heads for
    for (int update = 1; playerGate <= kGates; ++update) {
        speed = std::clamp(speed + (playerGate < enemyGate ? -kEnemyPaceStep : kEnemyPaceStep), kEnemySlowestChase, kEnemyFastestChase);
        enemy += speed;
        player += kPlayerSpeed;
        if (enemy >= gateSpacing * static_cast<float>(enemyGate) && enemyGate <= kGates) enemyPassed[enemyGate++] = static_cast<float>(update);
        if (player >= gateSpacing * static_cast<float>(playerGate)) lead = static_cast<float>(update) - enemyPassed[playerGate++];
    }
    return lead;
}

}  // namespace route_timing
