// What a course must hold for a run to be flown on it: at least two records (everyone starts at
// the first and heads for the second), a goal gate ahead of the player, and for every spawn gate
// a route of its own enemy that ends in an end gate. A course that breaks a rule is refused with
// one line saying which record is wrong, instead of sending a character off the end of the list.
#pragma once

#include <string>

#include "course/course_file.hpp"

// Empty when the course can be played, otherwise what is wrong, in one line.
std::string FindUnplayableCourse(const CourseList& course);

// Loads the file and checks it; empty when the course can be played, otherwise
// "FILE: what is wrong". A file that cannot be read, or ends in the middle of a record, is
// refused as well.
std::string LoadPlayableCourse(const std::string& path, CourseList& course);
