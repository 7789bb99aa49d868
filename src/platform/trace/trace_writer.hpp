// TraceWriter: one JSON object on one line, for per-frame traces and run summaries. Fields come
// out in the order written; numbers are independent of the locale, floats carry the fewest
// digits that read back to the same value, and NaN or an infinity is written as null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "math/math.hpp"

namespace platform {

class TraceWriter {
public:
    // Spaced: ", " and ": " between items, for lines a person reads.
    explicit TraceWriter(bool spaced = false);

    void Int(std::string_view name, int64_t value);
    void Float(std::string_view name, float value);
    void Bool(std::string_view name, bool value);
    void String(std::string_view name, std::string_view value);
    void Null(std::string_view name);
    // [x, y, z]
    void Vec(std::string_view name, Vec3 value);
    // A nested object or array; every Begin needs its End.
    void BeginObject(std::string_view name);
    void BeginArray(std::string_view name);
    // An object as the next element of the array being written.
    void BeginObject();
    void EndObject();
    void EndArray();

    // The finished object and a newline; the writer starts a new object.
    std::string TakeLine();

private:
    void Key(std::string_view name);
    void Quote(std::string_view text);
    void Number(float value);

    struct Level {
        bool array = false;
        bool first = true;
    };
    bool spaced_;
    std::string line_;
    std::vector<Level> levels_;
};

}  // namespace platform
