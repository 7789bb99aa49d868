// The generated course holds every invariant, and the checker catches courses that break one.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "asset_tree.hpp"
#include "course/course_check.hpp"
#include "course_layout.hpp"

namespace {

namespace fs = std::filesystem;

class CourseLayout : public ::testing::Test {
protected:
    // The maps and gates the build wrote with this generator (the game_data target).
    static void SetUpTestSuite() {
        std::string error;
        meshes_ = new CourseMeshes;
        ASSERT_TRUE(meshes_->Load(KORVELIN_GAME_DIR "/data/model", &error)) << error;
    }
    static void TearDownTestSuite() {
        delete meshes_;
        meshes_ = nullptr;
    }
    static std::string Failures(const CourseCheckReport& r) {
        std::string out;
        for (const CourseFinding& f : r.findings)
            if (!f.ok) out += f.check + ": " + f.detail + "\n";
        return out;
    }
    static CourseMeshes* meshes_;
};
CourseMeshes* CourseLayout::meshes_ = nullptr;

// Every check a report names has its rule, for --help and the README.
void ExpectRuled(const CourseCheckReport& report) {
    std::set<std::string> ruled;
    for (const CourseRule& r : CourseCheckRules()) ruled.insert(r.check);
    for (const CourseFinding& f : report.findings) EXPECT_EQ(ruled.count(f.check), 1u) << f.check << " has no rule";
}

TEST_F(CourseLayout, GeneratedCourseHoldsEveryInvariant) {
    const CourseList course = course_layout::Build();
    const CourseCheckReport report = CheckCourse(course, *meshes_);
    EXPECT_TRUE(report.Ok()) << Failures(report);
    EXPECT_GE(report.triggers, 4);
    EXPECT_LE(report.triggers, 6);
    EXPECT_EQ(report.routes, report.triggers);
    EXPECT_GE(report.mainSeconds, 120.0f);
    EXPECT_LE(report.mainSeconds, 180.0f);
    ExpectRuled(report);
}

// The saved text reads back into the same course.
TEST_F(CourseLayout, SurvivesTheCourseFile) {
    const std::string text = FormatCourse(course_layout::Build());
    std::istringstream in(text);
    CourseList back;
    EXPECT_TRUE(ReadCourse(in, back).Ok());
    EXPECT_TRUE(CheckCourse(back, *meshes_).Ok());
}

// Each broken course names the check that catches it.
TEST_F(CourseLayout, CheckerCatchesBrokenCourses) {
    struct Case {
        const char* what;
        std::function<void(CourseList&)> breakIt;
        const char* check;
    };
    auto firstOf = [](CourseList& c, int enemyNo) {
        for (size_t i = 0; i < c.size(); ++i)
            if (c[i]->enemyNo == enemyNo) return i;
        return c.size();
    };
    const Case cases[] = {
        {"one record", [](CourseList& c) { c.resize(1); }, "records"},
        {"goal missing", [](CourseList& c) { c[course_layout::kMainGates - 1]->kind = 1; }, "main-course-first"},
        {"a second start on the main course", [](CourseList& c) { c[5]->kind = 0; }, "main-course-kinds"},
        {"four gates for a try", [](CourseList& c) {
             c.resize(4);
             c[3]->kind = 2;
         }, "duration"},
        {"spawn numbers swapped", [&](CourseList& c) {
             for (auto& cp : c) cp->enemyNo = cp->enemyNo == 1 ? 2 : cp->enemyNo == 2 ? 1 : cp->enemyNo;
         }, "route-spawn"},
        {"route without an end", [&](CourseList& c) { c[firstOf(c, 2) - 1]->kind = 3; }, "route-contiguous"},
        {"gate off the map", [](CourseList& c) { c[10]->world.m[3][0] += 20000; }, "main-gate-over-ground"},
        {"gate buried", [](CourseList& c) { c[10]->world.m[3][1] -= 60; }, "main-gate-over-ground"},
        {"gate turned sideways", [](CourseList& c) {
             Matrix& w = c[12]->world;
             const Vec3 at = w.Row(3);
             w = MatrixRotationY(1.5707964f) * w;
             w.SetRow(3, at);
         }, "main-gate-pass"},
        {"first gate off the start line", [](CourseList& c) { c[1]->world.m[3][0] += 400; }, "start-faces-first-gate"},
        {"enemy gate in the air", [&](CourseList& c) { c[firstOf(c, 1) + 2]->world.m[3][1] += 30; }, "enemy-gate-over-ground"},
        {"end gate turned away from the course", [&](CourseList& c) {
             CheckPoint& end = *c[firstOf(c, 2) - 1];
             CheckPoint& before = *c[firstOf(c, 2) - 2];
             const Vec3 p = end.world.Row(3);
             Vec3 side = before.world.Row(0);
             before.world.SetRow(3, p - side * 80.0f);  // the last leg now runs across the canyon
         }, "enemy-joins"},
        {"route cut short: the enemy joins far ahead of the player", [&](CourseList& c) {
             const size_t spawn = firstOf(c, 1);
             c.erase(c.begin() + static_cast<std::ptrdiff_t>(spawn) + 1, c.begin() + static_cast<std::ptrdiff_t>(spawn) + 20);
         }, "enemy-joins-near-player"},
        {"route gate pulled across the canyon", [&](CourseList& c) {
             CheckPoint& gate = *c[firstOf(c, 3) + 3];
             gate.world.SetRow(3, gate.world.Row(3) + gate.world.Row(0) * 150.0f);
         }, "enemy-gate-turn"},
        {"too few triggers", [](CourseList& c) {
             for (auto& cp : c)
                 if (cp->enemyNo == 0 && cp->kind == 3) cp->kind = 1;
         }, "routes-released"},
        // What the game itself refuses is never OK, and the check still ends at once.
        {"a gate of scale 0", [](CourseList& c) { c[3]->world.SetRow(0, {0, 0, 0}); }, "game-rules"},
        {"a route's end far away", [&](CourseList& c) {
             c[firstOf(c, 2) - 1]->world.SetRow(3, {1e9f, 0, 2e8f});
         }, "game-rules"},
        {"a trigger gate far away", [](CourseList& c) {
             for (auto& cp : c)
                 if (cp->enemyNo == 0 && cp->kind == 3) cp->world.SetRow(3, {1e9f, 0, 2e8f});
         }, "game-rules"},
    };
    for (const Case& c : cases) {
        CourseList course = course_layout::Build();
        c.breakIt(course);
        const CourseCheckReport report = CheckCourse(course, *meshes_);
        bool caught = false;
        for (const CourseFinding& f : report.findings) caught |= !f.ok && f.check == c.check;
        EXPECT_TRUE(caught) << c.what << "\n" << Failures(report);
        ExpectRuled(report);
    }
    CourseList singular = course_layout::Build();
    singular[3]->world.SetRow(0, {0, 0, 0});
    EXPECT_EQ(CheckCourse(singular, *meshes_).findings[1].detail,
              "the game refuses it: record 4: the gate's matrix cannot be inverted (scale 0)");
}

}  // namespace
