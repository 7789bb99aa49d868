// The course file: a list of CheckPoint records as whitespace-separated text, 18 words each.
//
// A record is: kind, enemyNo (whole numbers), then the 16 elements of the gate's placement
// matrix, row by row (_11 _12 _13 _14 _21 ... _44; the position is _41 _42 _43). The saved form
// is one record per line, its values TAB-separated; any whitespace reads the same. There is no
// header, count or terminator. Numbers are read the same under every locale.
//
// Limits a course keeps (course_limits below). The reader refuses a file beyond the first two;
// the game's rules (course_rules.hpp) refuse a course beyond the others, naming the record.
//   - At most 1 MiB of text and 256 records. The game's own course has 192 records; a record
//     saved by the editor is about 110 bytes, so a MiB leaves room for any spacing.
//   - At most 6 spawn gates, that is 6 enemies (the game's course has 5). Each enemy is a chain
//     of 40 units, moved, drawn twice and listed in every line of a headless run's trace, and
//     every spawn and trigger gate of a route spins and is drawn every frame: 6 enemies and 256
//     records keep a frame of a course at these limits under a millisecond of the processor's
//     time headless (0.6 to 1.0 ms measured with all six enemies out and 200 gates drawn, on two
//     cores shared by eight busy processes; 8 enemies took 1.0 to 1.4), and a trace line under
//     1.5 KB.
//   - Every gate's position within the maps' reach: x and z from -3800 to 3800 (the maps' edge:
//     beyond it there is no ground to follow and nothing is drawn), y from -1000 to 1000 (the
//     ground lies between -71 and 344, main-course gates stand 110 below the flight path).
//   - On the player's course, the records from the first to the goal: every gate's matrix a
//     placement the pass test can invert (last column 0 0 0 1, each axis between 0.01 and 1000
//     long, the axes not flat), each gate at least 10 units (seen from above) from the one
//     before it and the goal apart from the start, each gate over the map's ground where the
//     craft, flying 7 above the ground, meets its panel. A course breaking one of these could
//     never be finished: the craft would fly on past a gate it cannot pass.
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

namespace course_limits {
inline constexpr std::size_t kMaxBytes = std::size_t(1) << 20;
inline constexpr std::size_t kMaxRecords = 256;
inline constexpr int kMaxEnemies = 6;            // spawn gates
inline constexpr float kReachXZ = 3800.0f;       // |x| and |z| of a gate's position
inline constexpr float kReachY = 1000.0f;        // |y|
inline constexpr float kMinGateScale = 0.01f;    // length of each axis of a player's gate
inline constexpr float kMaxGateScale = 1000.0f;
inline constexpr float kMinLeg = 10.0f;          // between two gates of the player's course, seen from above
}  // namespace course_limits

struct CourseLoadReport {
    bool opened = false;     // the file could be read: it exists, is a file and is not too large
    bool readError = false;  // the stream failed before its end; the list holds what came before
    bool truncated = false;  // the last record ended early; its missing fields keep defaults
    bool tooManyRecords = false;  // more than course_limits::kMaxRecords; the list holds those
    std::size_t records = 0;
    std::string message;     // empty when all went well, otherwise one line for the user
    bool Ok() const { return opened && !readError && !truncated && !tooManyRecords; }
};

// Empties the list, then reads records until the stream ends or fails, or a record beyond
// course_limits::kMaxRecords begins. Whitespace after the last record adds nothing. Nothing the
// stream throws leaves it: a throwing stream counts as a read error.
CourseLoadReport ReadCourse(std::istream& in, CourseList& list);

// Empties the list and loads the file into it. A file that cannot be read (missing, a folder,
// a device, more than course_limits::kMaxBytes) gives an empty list and a report saying so;
// every message starts with the path.
CourseLoadReport LoadCourse(const std::string& path, CourseList& list);

// The saved text: per record kind, enemyNo and the 16 elements of editedWorld, TAB-separated,
// floats with up to six significant digits, records separated by '\n', none after the last.
std::string FormatCourse(const CourseList& list);

// Writes FormatCourse(list) to a temporary file beside path and renames it over path, so a
// failed save leaves the previous file as it was. Returns false with a message on failure.
bool SaveCourse(const CourseList& list, const std::string& path, std::string* error = nullptr);

// Formats one float as the course file stores it (six significant digits, general notation).
std::string FormatCourseFloat(float value);
