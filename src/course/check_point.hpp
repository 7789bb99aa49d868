// One gate of a course: where it stands, what kind it is and which route it belongs to.
#pragma once

#include <iosfwd>

#include "math/math.hpp"

// Gate kinds as the course file stores them; other values are kept and saved unchanged.
namespace checkpoint_kind {
constexpr int kStart = 0;    // start gate; with enemyNo k != 0 the spawn gate of enemy k
constexpr int kPlain = 1;
constexpr int kEnd = 2;      // the goal on the main course, the join point on an enemy route
constexpr int kTrigger = 3;  // releases the next enemy (main course); drawn spinning (routes)
}  // namespace checkpoint_kind

struct CheckPoint {
    Matrix editedWorld = Matrix::Identity();   // scaleMatrix x offsetMatrix x world (editor view)
    Matrix world = Matrix::Identity();         // placement read from the file; drawing and gate tests
    Matrix offsetMatrix = Matrix::Identity();  // scratch of UpdateEditedWorld
    Matrix scaleMatrix = Matrix::Identity();   // scratch of UpdateEditedWorld
    int offset[3] = {0, 0, 0};                 // editor translation, whole units
    float scale[3] = {1.0f, 1.0f, 1.0f};       // editor scale factors
    int kind = 0;                              // see checkpoint_kind
    int enemyNo = 0;                           // 0 main course, k the route of enemy k

    // Reads one record of 18 whitespace-separated words into kind, enemyNo and world. A word
    // that does not parse (or is missing at the end of the stream) leaves its field unchanged.
    // Returns how many words the stream held for it: 18 for a complete record.
    int Read(std::istream& in);

    // world = Translation(0, d, 0) x base, d = -110 for the main course (the gate stands below
    // the flight path) and 0 for enemy routes.
    void Place(int kind, int enemyNo, const Matrix& base);

    void SetOffsetScale(int x, int y, int z, int sx, int sy, int sz);

    // editedWorld = Scaling(scale) x Translation(offset) x world.
    void UpdateEditedWorld();
};

// Parsing of one word as the course file reads it, independent of the user's locale.
// Integers take the leading digits ("12.5" gives 12); floats must be finite. Both return
// false and leave *out untouched when the word does not start with a number.
bool ParseCourseInt(const char* first, const char* last, int* out);
bool ParseCourseFloat(const char* first, const char* last, float* out);
