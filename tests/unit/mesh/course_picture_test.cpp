// korvelin-assets course --png: each gate's marker lands on the pixel its position gives (x to
// the right, z up), in its kind's colour; a route's join and a run's path, release, hit and end
// are drawn where they happened; bad input exits with a message.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>
#include <string>

#include "asset_tool_run.hpp"
#include "course/course_file.hpp"
#include "platform/image/image.hpp"
#include "x_file_test_files.hpp"

namespace {

using nlohmann::json;

const std::string kGameData = std::string(KORVELIN_GAME_DIR) + "/data";

struct Rgb {
    int r, g, b;
};
// Marker fills as the legend shows them.
constexpr Rgb kWhite{255, 255, 255}, kStart{89, 242, 89}, kGoalCentre{0, 0, 0}, kNoRoute{153, 153, 153},
    kHit{255, 38, 38};
constexpr Rgb kEnemy[] = {{255, 140, 26}, {255, 77, 217}, {64, 217, 255}, {173, 140, 255}, {255, 242, 77}};

struct Picture {
    ToolResult run;
    json info;  // the "picture" object of --json
    platform::Image png;

    // x to the right, z up; in double, as a course may span the whole float range.
    Vec2 ToPixel(Vec3 p) const {
        const json& v = info["view"];
        const double ppu = v["pixelsPerUnit"];
        return {float((p.x - v["left"].get<double>()) * ppu), float((v["top"].get<double>() - p.z) * ppu)};
    }
    const json* Marker(const std::string& what, int record = -1, int enemy = 0) const {
        for (const json& m : info["markers"])
            if (m["what"] == what && m.value("record", -1) == record && m.value("enemy", 0) == enemy) return &m;
        return nullptr;
    }
    ::testing::AssertionResult ColourAt(Vec2 p, Rgb want) const {
        const int x = static_cast<int>(std::floor(p.x)), y = static_cast<int>(std::floor(p.y));
        if (x < 0 || y < 0 || x >= int(png.width) || y >= int(png.height))
            return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is outside the picture";
        const uint8_t* t = png.Texel(x, y);
        if (std::abs(t[0] - want.r) <= 3 && std::abs(t[1] - want.g) <= 3 && std::abs(t[2] - want.b) <= 3)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << int(t[0]) << " " << int(t[1]) << " "
                                             << int(t[2]) << ", not " << want.r << " " << want.g << " " << want.b;
    }
};

Picture Draw(const std::string& args, const std::string& png) {
    Picture p;
    p.run = RunTool("--json course " + args + " --png " + Quoted(png));
    const json out = json::parse(p.run.out, nullptr, false);
    if (out.is_object() && out.contains("picture")) p.info = out["picture"];
    std::string error;
    platform::LoadImageFile(png, p.png, error);
    return p;
}

// Every gate's marker where its position says, inside the picture; `fill(i)` the colour at
// its centre, or null to skip the colour.
void ExpectGates(const Picture& pic, const CourseList& course, const std::function<const Rgb*(size_t)>& fill) {
    for (size_t i = 0; i < course.size(); ++i) {
        const json* m = pic.Marker("gate", static_cast<int>(i));
        ASSERT_NE(m, nullptr) << "record " << i;
        const Vec2 want = pic.ToPixel(course[i]->world.Row(3));
        EXPECT_NEAR((*m)["x"].get<float>(), want.x, 0.01f) << "record " << i;
        EXPECT_NEAR((*m)["y"].get<float>(), want.y, 0.01f) << "record " << i;
        EXPECT_TRUE(want.x >= 40 && want.y >= 40 && want.x <= float(pic.png.width) - 40 && want.y <= float(pic.png.height) - 40)
            << "record " << i << " at " << want.x << ", " << want.y;
        if (const Rgb* colour = fill(i)) {
            EXPECT_TRUE(pic.ColourAt(want, *colour)) << "record " << i;
        }
    }
}

class CoursePictureTest : public ::testing::Test {
protected:
    TempFolder folder_{"korvelin_course_picture"};
};

TEST_F(CoursePictureTest, GeneratedCourseGatesLandWhereTheyStand) {
    const std::string file = kGameData + "/data/cpdata.dat";
    const std::string png = (folder_.path / "course.png").string();
    const Picture pic = Draw(Quoted(file), png);
    ASSERT_EQ(pic.run.status, 0) << pic.run.out;
    ASSERT_FALSE(pic.png.Empty());
    EXPECT_EQ(pic.info["width"], pic.png.width);
    EXPECT_EQ(pic.info["height"], pic.png.height);
    EXPECT_EQ(std::max(pic.png.width, pic.png.height), 1600u);

    CourseList course;
    ASSERT_TRUE(LoadCourse(file, course).Ok());
    int triggers = 0;
    std::vector<Rgb> fills(course.size());
    for (size_t i = 0; i < course.size() && course[i]->enemyNo == 0; ++i) {
        const int kind = course[i]->kind;
        fills[i] = kind == 0 ? kStart : kind == 2 ? kGoalCentre : kind == 3 ? kEnemy[triggers++] : kWhite;
    }
    ExpectGates(pic, course, [&](size_t i) { return course[i]->enemyNo == 0 ? &fills[i] : nullptr; });
    // Every route finds a main-course gate to join.
    for (int enemy = 1; enemy <= 5; ++enemy) {
        bool joined = false;
        for (const json& m : pic.info["markers"])
            joined |= m["what"] == "join" && m["enemy"] == enemy && course[m["record"].get<size_t>()]->enemyNo == 0;
        EXPECT_TRUE(joined) << "enemy " << enemy;
    }
}

// A course of six main gates (two triggers, one with no route to release) and one route whose
// last leg heads straight (+z) into main gate 1; a run along z = -100 below it.
std::string Record(int kind, int enemy, float x, float y, float z) {
    std::ostringstream s;
    s << kind << '\t' << enemy << "\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t" << x << '\t' << y << '\t' << z << "\t1\n";
    return s.str();
}

std::string RunFrame(int frame, float x, int hitsLeft, bool released, bool over) {
    std::ostringstream s;
    s << R"({"frame":)" << frame << R"(,"scene":"game","player":{"pos":[)" << x << R"(,7,-100]},"hitsLeft":)"
      << hitsLeft << R"(,"runOver":)" << (over ? "true" : "false") << R"(,"enemies":[{"released":)"
      << (released ? "true" : "false") << "}]}\n";
    return s.str();
}

TEST_F(CoursePictureTest, HandMadeCourseRouteJoinAndRunDrawnInPlace) {
    const std::string file = folder_.Write(
        "hand.dat", Record(0, 0, 0, 0, 0) + Record(1, 0, 0, 0, 600) + Record(3, 0, 600, 0, 1200) +
                        Record(1, 0, 1200, 0, 1200) + Record(3, 0, 1800, 0, 1200) + Record(2, 0, 2400, 0, 1200) +
                        Record(0, 1, -300, 50, -200) + Record(1, 1, -100, 50, 0) + Record(2, 1, -100, 50, 300));
    // Frame f stands at x = 400 + 200 f; enemy 1 out at 3, a hit at 5, the goal at 7.
    std::string trace = R"({"frame":0,"scene":"title","fov":80,"fade":0})" "\n";
    for (int f = 0; f <= 9; ++f) trace += RunFrame(f, 400.0f + 200.0f * f, f >= 5 ? 1 : 2, f >= 3, f >= 7);
    const std::string traceFile = folder_.Write("run.jsonl", trace);
    const std::string png = (folder_.path / "hand.png").string();
    const Picture pic = Draw(Quoted(file) + " " + Quoted(kGameData + "/model") + " --trace " + Quoted(traceFile), png);
    // Drawn, though the course is far too short to hold as a game course.
    ASSERT_EQ(pic.run.status, 3) << pic.run.out;
    ASSERT_FALSE(pic.png.Empty());
    EXPECT_EQ(pic.png.width, 1600u);  // x spans 2700 units, z 1400

    CourseList course;
    ASSERT_TRUE(LoadCourse(file, course).Ok());
    const Rgb fills[] = {kStart, kWhite, kEnemy[0], kWhite, kNoRoute, kGoalCentre, kEnemy[0], kEnemy[0], kEnemy[0]};
    ExpectGates(pic, course, [&](size_t i) { return &fills[i]; });

    const json* join = pic.Marker("join", 1, 1);
    ASSERT_NE(join, nullptr) << pic.info.dump();
    const Vec2 gate1 = pic.ToPixel(course[1]->world.Row(3));
    EXPECT_TRUE(pic.ColourAt({gate1.x + 15, gate1.y}, kEnemy[0])) << "the join ring";

    const struct {
        const char* what;
        int frame, enemy;
        Rgb fill;
    } events[] = {{"release", 3, 1, kEnemy[0]}, {"hit", 5, 0, kHit}, {"end", 7, 0, kWhite}};
    for (const auto& e : events) {
        const json* m = pic.Marker(e.what, -1, e.enemy);
        ASSERT_NE(m, nullptr) << e.what;
        EXPECT_EQ((*m)["frame"], e.frame) << e.what;
        const Vec2 want = pic.ToPixel({400.0f + 200.0f * e.frame, 7, -100});
        EXPECT_NEAR((*m)["x"].get<float>(), want.x, 0.01f) << e.what;
        EXPECT_NEAR((*m)["y"].get<float>(), want.y, 0.01f) << e.what;
        EXPECT_TRUE(pic.ColourAt(want, e.fill)) << e.what;
    }
    // The path between frames 1 and 2.
    const Vec2 path = pic.ToPixel({700, 7, -100});
    const uint8_t* t = pic.png.Texel(uint32_t(path.x), uint32_t(path.y));
    EXPECT_TRUE(t[1] > 230 && t[0] > 110 && t[0] < 150 && t[2] < 130) << int(t[0]) << " " << int(t[1]) << " " << int(t[2]);
}

TEST_F(CoursePictureTest, ACourseSpanningTheFloatRangeStillDraws) {
    const std::string file = folder_.Write("wide.dat", Record(0, 0, -3e38f, 0, 0) + Record(2, 0, 3e38f, 0, 3e38f));
    const std::string png = (folder_.path / "wide.png").string();
    const Picture pic = Draw(Quoted(file) + " " + Quoted(kGameData + "/model"), png);
    ASSERT_EQ(pic.run.status, 3) << pic.run.out;
    // Its length is infinite, which JSON can only say as null.
    EXPECT_TRUE(Has(pic.run.out, "\"main_length\":null")) << pic.run.out;
    CourseList course;
    ASSERT_TRUE(LoadCourse(file, course).Ok());
    ExpectGates(pic, course, [](size_t i) { return i == 0 ? &kStart : &kGoalCentre; });
}

TEST_F(CoursePictureTest, BadInputExitsWithAMessage) {
    const std::string course = "course " + Quoted(kGameData + "/data/cpdata.dat");
    const std::string png = Quoted((folder_.path / "p.png").string());
    const std::string badTrace = folder_.Write("bad.jsonl", R"({"frame":0,"scene":"title"})" "\n{\"frame\":1,\n");
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {course + " --png " + png + " --trace " + Quoted(badTrace), 1, "bad.jsonl:2: not a line of JSON"},
        {course + " --png " + png + " --trace " + Quoted((folder_.path / "none.jsonl").string()), 1, "none.jsonl: cannot open"},
        {course + " --png " + png + " --trace " + Quoted(folder_.path.string()), 1, "is a folder, not a file"},
        {"course " + Quoted((folder_.path / "none.dat").string()) + " --png " + png, 1, "none.dat: cannot open"},
        {"course " + Quoted(folder_.path.string()), 1, "is a folder, not a file"},
        {"course /dev/zero", 1, "/dev/zero: is not a file"},
        {course + " --png " + Quoted((folder_.path / "no/such/folder/p.png").string()), 1, "cannot write"},
        {course + " --trace " + Quoted(badTrace), 2, "give --png too"},
        {course + " --png", 2, "--png needs a file name"},
        {course + " --pgn " + png, 2, "unknown option '--pgn'"},
    };
    for (const auto& c : cases) {
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        EXPECT_TRUE(Has(r.out, c.message)) << c.args << "\n" << r.out;
    }
    // Without --png the check reads as it always did.
    const ToolResult plain = RunTool(course + " --json");
    EXPECT_EQ(plain.status, 0);
    EXPECT_FALSE(Has(plain.out, "picture")) << plain.out;
}

}  // namespace
