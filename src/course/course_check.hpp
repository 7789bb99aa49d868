// Checks a course against everything the characters rely on: its order, its routes, and that
// the gates stand where the player and the enemies will really meet them on the maps.
#pragma once

#include <string>
#include <vector>

#include "course/course_file.hpp"
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

// The meshes the game tests against: "mapA.x", "mapD.x", "CheckPoint.x" and "CheckPoint2.x".
struct CourseMeshes {
    platform::MeshData mapA, mapD, gate, enemyGate;
    // Loads them from modelDir (e.g. "data/model"); false with a message when one fails.
    bool Load(const std::string& modelDir, std::string* error);
};

CourseCheckReport CheckCourse(const CourseList& course, const CourseMeshes& meshes);
