// The course file: a list of CheckPoint records as whitespace-separated text, 18 words each.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "course/check_point.hpp"

// A course in list order; the list owns its records. Characters keep positions in it, so
// users must not change it while characters fly it.
using CourseList = std::vector<std::unique_ptr<CheckPoint>>;

inline constexpr const char* kCourseFile = "data/data/cpdata.dat";      // the game's course
inline constexpr const char* kEditorSaveFile = "test2.dat";             // the editor's Save
inline constexpr const char* kEditorLoadFile = "data/data/test2.dat";   // the editor's Load

struct CourseLoadReport {
    bool opened = false;     // the file could be opened
    bool readError = false;  // the stream failed before its end; the list holds what came before
    bool truncated = false;  // the last record ended early; its missing fields keep defaults
    std::size_t records = 0;
    std::string message;     // empty when all went well, otherwise one line for the user
    bool Ok() const { return opened && !readError && !truncated; }
};

// Empties the list, then reads records until the stream ends or fails. Whitespace after the
// last record adds nothing.
CourseLoadReport ReadCourse(std::istream& in, CourseList& list);

// Empties the list and loads the file into it. A file that cannot be opened gives an empty
// list and a report saying so.
CourseLoadReport LoadCourse(const std::string& path, CourseList& list);

// The saved text: per record kind, enemyNo and the 16 elements of editedWorld, TAB-separated,
// floats with up to six significant digits, records separated by '\n', none after the last.
std::string FormatCourse(const CourseList& list);

// Writes FormatCourse(list) to a temporary file beside path and renames it over path, so a
// failed save leaves the previous file as it was. Returns false with a message on failure.
bool SaveCourse(const CourseList& list, const std::string& path, std::string* error = nullptr);

// Formats one float as the course file stores it (six significant digits, general notation).
std::string FormatCourseFloat(float value);
