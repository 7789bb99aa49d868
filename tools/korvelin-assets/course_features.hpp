// What the course picture marks on a course: the main course in order with what each trigger
// gate releases, and each enemy's route from its spawn gate to the main-course gate it joins.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "course/course_file.hpp"
#include "platform/mesh/mesh_data.hpp"

struct MainGate {
    std::size_t record = 0;  // index in the course list, as the game and the checker count
    int kind = 0;
    int releases = 0;        // trigger gates: the enemy this gate releases (1 for the first)
};

struct EnemyRoute {
    int enemy = 0;                      // its number, the records' enemyNo
    std::vector<std::size_t> records;   // spawn gate to end gate, in the order the enemy flies them
    std::optional<std::size_t> joins;   // the main-course record it joins, if its ray finds one
};

struct CourseFeatures {
    std::vector<MainGate> main;        // records with enemyNo 0, in list order
    std::vector<EnemyRoute> routes;    // in enemy order
    bool HasRoute(int enemy) const;
};

// An enemy starts at the first record of its number and flies on in list order up to the first
// end gate; there its forward ray, through the gate mesh of the main course, picks the first
// main-course gate it meets within 500 units.
CourseFeatures FindCourseFeatures(const CourseList& course, const platform::MeshData& gateMesh);
