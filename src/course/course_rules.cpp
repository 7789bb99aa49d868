// The rules a playable course keeps.
#include "course/course_rules.hpp"

#include <cstddef>

namespace {

using checkpoint_kind::kEnd;
using checkpoint_kind::kStart;

std::string Record(std::size_t index) { return "record " + std::to_string(index + 1); }

// From `from` on, the records of one route (enemyNo `group`) must reach an end gate before the
// route changes or the list ends.
bool RouteEnds(const CourseList& course, std::size_t from, int group) {
    for (std::size_t i = from; i < course.size() && course[i]->enemyNo == group; ++i)
        if (course[i]->kind == kEnd) return true;
    return false;
}

}  // namespace

std::string FindUnplayableCourse(const CourseList& course) {
    if (course.size() < 2)
        return "a course needs at least two records, this one has " + std::to_string(course.size());
    if (course[0]->enemyNo != 0) return Record(0) + " must belong to the main course (enemyNo 0)";
    // The player starts at the first record and heads for the second.
    if (!RouteEnds(course, 1, 0)) return "the main course has no goal gate (kind 2) after its start";

    int spawn = 0;
    for (std::size_t i = 0; i < course.size(); ++i) {
        if (course[i]->kind != kStart || course[i]->enemyNo == 0) continue;
        ++spawn;
        // Spawn gate n makes enemy n, which is released at the first record of route n.
        std::size_t first = 0;
        while (first < course.size() && course[first]->enemyNo != spawn) ++first;
        if (first == course.size())
            return "the spawn gate at " + Record(i) + " makes enemy " + std::to_string(spawn) +
                   ", but no record belongs to route " + std::to_string(spawn);
        if (!RouteEnds(course, first + 1, spawn))
            return "route " + std::to_string(spawn) + " (from " + Record(first) + ") has no end gate (kind 2)";
    }
    return {};
}

std::string LoadPlayableCourse(const std::string& path, CourseList& course) {
    const CourseLoadReport report = LoadCourse(path, course);
    // The load's own message already names the file.
    std::string problem = report.Ok() ? FindUnplayableCourse(course) : report.message;
    if (problem.empty()) return {};
    if (report.Ok()) problem = path + ": " + problem;
    course.clear();
    return problem;
}
