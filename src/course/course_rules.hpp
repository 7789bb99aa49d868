// What a course must hold for a run to be flown on it: at least two records (everyone starts at
// the first and heads for the second), a goal gate ahead of the player, and for every spawn gate
// a route of its own enemy that ends in an end gate; the limits of course_file.hpp (enemies,
// every gate within the maps' reach); and on the player's course, the records from the first to
// the goal, gates the craft can pass: matrices it can invert, each gate apart from the one
// before, and, where the maps are given, each gate over the ground with its panel where the
// craft flies. A course that breaks a rule is refused with one line saying which record is
// wrong, instead of sending a character off the end of the list or the craft off the map. The
// checks take time in proportion to the records.
#pragma once

#include <functional>
#include <string>

#include "course/course_file.hpp"

// What the rules ask of the maps. Each test casts a ray and gives the distance along it to the
// nearest hit, in units of `dir` as given; false for a miss.
struct CourseGround {
    using RayTest = std::function<bool(Vec3 origin, Vec3 dir, float* distance)>;
    RayTest map;   // the player's map ("mapA.x"), in the world
    RayTest gate;  // the main-course gate's panel ("CheckPoint.x"), in a gate's own frame
};

// Empty when the course can be played, otherwise what is wrong, in one line. Without `ground`
// only the rules that need no map are applied.
std::string FindUnplayableCourse(const CourseList& course, const CourseGround* ground = nullptr);

// Loads the file and checks it; empty when the course can be played, otherwise
// "FILE: what is wrong". A file that cannot be read, holds too much, or ends in the middle of a
// record, is refused as well.
std::string LoadPlayableCourse(const std::string& path, CourseList& course, const CourseGround* ground = nullptr);

// Why a gate of the player's course with this placement could never be passed ("the gate's
// matrix cannot be inverted (scale 0)"), or empty. The editor says so as soon as it stores one.
std::string GateMatrixProblem(const Matrix& world);
