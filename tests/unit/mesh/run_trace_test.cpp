// The course picture's trace reader: what it takes from a headless run, and how it refuses
// lines it cannot use.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "run_trace.hpp"

namespace {

// One game frame as the game writes it, with the fields the reader looks at.
std::string Frame(int frame, float x, float z, int hitsLeft, bool runOver, const std::string& released) {
    std::ostringstream s;
    s << R"({"frame":)" << frame << R"(,"scene":"game","player":{"pos":[)" << x << ",7," << z
      << R"(],"fwd":[0,0,1],"current":1,"bank":0},"hitsLeft":)" << hitsLeft << R"(,"lives":3,"runOver":)"
      << (runOver ? "true" : "false") << R"(,"enemies":[)" << released << "]}\n";
    return s.str();
}

bool Read(const std::string& text, RunTrace& trace, std::string* error) {
    std::istringstream in(text);
    return ReadRunTrace(in, "run.jsonl", trace, error);
}

TEST(RunTraceTest, PathReleasesHitsAndEndsPerRun) {
    const std::string off = R"({"released":false},{"released":false})";
    const std::string first = R"({"released":true},{"released":false})";
    const std::string both = R"({"released":true},{"released":true})";
    const std::string text = std::string(R"({"frame":0,"scene":"title","fov":80,"fade":0})") + "\n" +
                             Frame(1, 0, 0, 2, false, off) + Frame(2, 10, 0, 2, false, first) +
                             Frame(3, 20, 0, 1, false, first) +  // hit
                             "\n" +                              // a blank line is no frame
                             R"({"frame":4,"scene":"game","player":{"pos":[null,7,0]},"hitsLeft":1})" "\n" +
                             Frame(5, 30, 0, -1, true, both) +   // hit, destroyed, enemy 2 out
                             Frame(6, 30, 0, -1, true, both) +   // still over: no second end
                             R"({"frame":7,"scene":"title"})" "\n" +
                             Frame(8, 0, 0, 2, false, first) +   // a new run: enemy 1 out at once
                             Frame(9, 0, 50, 2, true, first);    // goal
    RunTrace trace;
    std::string error;
    ASSERT_TRUE(Read(text, trace, &error)) << error;

    EXPECT_EQ(trace.gameFrames, 8u);
    ASSERT_EQ(trace.paths.size(), 2u);
    EXPECT_EQ(trace.paths[0].size(), 5u);  // frame 4's position is not a number
    EXPECT_EQ(trace.paths[1].size(), 2u);
    struct Want {
        int frame, enemy;
        float x;
    };
    const Want releases[] = {{2, 1, 10}, {5, 2, 30}, {8, 1, 0}};
    ASSERT_EQ(trace.releases.size(), std::size(releases));
    for (size_t i = 0; i < std::size(releases); ++i) {
        EXPECT_EQ(trace.releases[i].at.frame, releases[i].frame);
        EXPECT_EQ(trace.releases[i].enemy, releases[i].enemy);
        EXPECT_FLOAT_EQ(trace.releases[i].at.pos.x, releases[i].x);
    }
    ASSERT_EQ(trace.hits.size(), 2u);
    EXPECT_EQ(trace.hits[0].at.frame, 3);
    EXPECT_EQ(trace.hits[1].at.frame, 5);
    ASSERT_EQ(trace.ends.size(), 2u);
    EXPECT_EQ(trace.ends[0].at.frame, 5);
    EXPECT_TRUE(trace.ends[0].destroyed);
    EXPECT_EQ(trace.ends[1].at.frame, 9);
    EXPECT_FALSE(trace.ends[1].destroyed);
    EXPECT_FLOAT_EQ(trace.ends[1].at.pos.z, 50);
}

TEST(RunTraceTest, ALineItCannotUseIsNamedByNumber) {
    const std::string good = Frame(1, 0, 0, 2, false, "");
    const struct {
        std::string line;
        std::string reason;
    } cases[] = {
        {"{\"frame\":2,\"scene\":\"game\"", "not a line of JSON"},
        {"[1,2,3]", "not a JSON object"},
        {R"({"frame":2,"score":0})", "no \"scene\" (is this a trace of korvelin --headless?)"},
        {R"({"scene":"game","player":{"pos":[1,2]}})", "\"player.pos\" is not three numbers"},
        {R"({"scene":"game","player":{"pos":[1,"2",3]}})", "\"player.pos\" is not three numbers"},
        {R"({"scene":"game","player":7})", "\"player\" is not an object"},
        {R"({"scene":"game","enemies":{"released":true}})", "\"enemies\" is not an array"},
        {R"({"scene":"game","enemies":[{"released":"yes"}]})", "\"enemies[].released\" is not true or false"},
        {R"({"scene":"game","hitsLeft":"2"})", "\"hitsLeft\" is not a number"},
        {R"({"scene":"game","hitsLeft":1e999})", "not a line of JSON"},
        {"{\"scene\":\"game\",\"pad\":\"" + std::string(kMaxTraceLine, 'x') + "\"}", "line longer than 1048576 bytes"},
    };
    for (const auto& c : cases) {
        RunTrace trace;
        std::string error;
        EXPECT_FALSE(Read(good + c.line + "\n" + good, trace, &error)) << c.line.substr(0, 80);
        EXPECT_EQ(error, "run.jsonl:2: " + c.reason) << c.line.substr(0, 80);
    }
}

}  // namespace
