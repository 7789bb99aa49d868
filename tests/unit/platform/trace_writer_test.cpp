// The trace's JSON lines: nesting, escapes, and floats that read back exactly.
#include "platform/trace/trace_writer.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>

using namespace platform;

namespace {

TEST(TraceWriter, WritesNestedObjectsAndArraysOnOneLine) {
    TraceWriter w;
    w.Int("frame", 7);
    w.String("scene", "game");
    w.BeginObject("player");
    w.Vec("pos", {1, -2.5f, 0});
    w.Bool("alive", true);
    w.EndObject();
    w.BeginArray("enemies");
    w.BeginObject();
    w.Int("mode", 1);
    w.EndObject();
    w.BeginObject();
    w.Null("mode");
    w.EndObject();
    w.EndArray();
    w.String("text", "a\"b\\c\n\x01確認");
    EXPECT_EQ(w.TakeLine(),
              "{\"frame\":7,\"scene\":\"game\",\"player\":{\"pos\":[1,-2.5,0],\"alive\":true},"
              "\"enemies\":[{\"mode\":1},{\"mode\":null}],\"text\":\"a\\\"b\\\\c\\u000a\\u0001確認\"}\n");
    // The writer starts afresh; the spaced form is for people.
    TraceWriter spaced(true);
    spaced.Int("frames", 3);
    spaced.Bool("runOver", false);
    EXPECT_EQ(spaced.TakeLine(), "{\"frames\": 3, \"runOver\": false}\n");
    w.Int("frame", 8);
    EXPECT_EQ(w.TakeLine(), "{\"frame\":8}\n");
}

TEST(TraceWriter, FloatsReadBackExactlyAndNonNumbersAreNull) {
    const float values[] = {80.3f, 0.1f, -1e-30f, 3.4028235e38f, 1.0f / 3.0f, 100.0f};
    for (const float v : values) {
        TraceWriter w;
        w.Float("v", v);
        const std::string line = w.TakeLine();
        const std::string number = line.substr(5, line.size() - 7);  // {"v":...}\n
        float back = 0;
        std::from_chars(number.data(), number.data() + number.size(), back);
        EXPECT_EQ(back, v) << line;
    }
    TraceWriter w;
    w.Float("nan", std::numeric_limits<float>::quiet_NaN());
    w.Float("inf", -std::numeric_limits<float>::infinity());
    w.Vec("v", {std::numeric_limits<float>::infinity(), 0.5f, 0});
    EXPECT_EQ(w.TakeLine(), "{\"nan\":null,\"inf\":null,\"v\":[null,0.5,0]}\n");
}

}  // namespace
