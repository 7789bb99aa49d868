// The course laid along the canyon: the main course, trigger gates and one route per enemy.
#pragma once

#include "course/course_file.hpp"

namespace course_layout {

constexpr float kFlightHeight = 7.0f;      // characters keep this far above the ground
constexpr float kGateDrop = 110.0f;        // main-course gates stand this far below the flight path
constexpr float kMainSpacing = 420.0f;     // arc length between main-course gates
constexpr int kMainGates = 42;             // start, plain and trigger gates, and the goal last
constexpr int kTriggerGates[] = {4, 11, 18, 25, 32};

// Every record, main course first, then the routes in enemy order; editedWorld is set.
CourseList Build();

}  // namespace course_layout
