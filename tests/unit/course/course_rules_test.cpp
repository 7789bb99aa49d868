// Which courses a run can be flown on, and what the refusal says.
#include "course/course_rules.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

// A course from "kind/enemyNo" pairs: main-course gates 300 units apart along +z, standing 110
// below the flight path over flat ground at height 0; route gates in a row beside them.
CourseList Course(std::initializer_list<std::pair<int, int>> gates) {
    CourseList list;
    float mainZ = 0, routeX = 500;
    for (auto [kind, enemyNo] : gates) {
        auto cp = std::make_unique<CheckPoint>();
        cp->kind = kind;
        cp->enemyNo = enemyNo;
        cp->world = enemyNo == 0 ? MatrixTranslation(0, -103, (mainZ += 300) - 300) : MatrixTranslation(routeX += 20, 7, 0);
        list.push_back(std::move(cp));
    }
    return list;
}

// The same with one record's placement changed.
CourseList With(CourseList course, size_t record, const Matrix& world) {
    course[record]->world = world;
    return course;
}

// The maps as the rules see them: flat ground at height 0 out to 3000 units from the middle, and
// the main gate's panel, 400 wide, from 120 below the gate's origin to 380 above.
bool Ground(Vec3 o, Vec3 d, float* t) {
    if (d.y >= 0) return false;
    *t = -o.y / d.y;
    const Vec3 p = o + d * *t;
    return std::fabs(p.x) <= 3000 && std::fabs(p.z) <= 3000;
}
bool Panel(Vec3 o, Vec3 d, float* t) {
    if (d.z == 0) return false;
    *t = -o.z / d.z;
    const Vec3 p = o + d * *t;
    return *t > 0 && std::fabs(p.x) <= 200 && p.y >= -120 && p.y <= 380;
}
const CourseGround kGround{Ground, Panel};

TEST(CourseRules, PlayableAndUnplayableCourses) {
    struct Case {
        const char* what;
        CourseList course;
        const char* expected;  // a part of the message, or "" for a playable course
    };
    Case cases[] = {
        {"main course only", Course({{0, 0}, {1, 0}, {2, 0}}), ""},
        {"two routes after the main course", Course({{0, 0}, {3, 0}, {3, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {2, 2}}), ""},
        {"the goal as the second record", Course({{0, 0}, {2, 0}}), ""},
        {"empty", Course({}), "at least two records, this one has 0"},
        {"one record", Course({{0, 0}}), "at least two records, this one has 1"},
        {"route first", Course({{0, 1}, {2, 1}, {2, 0}}), "record 1 must belong to the main course"},
        {"no goal", Course({{0, 0}, {1, 0}, {3, 0}}), "main course has no goal gate"},
        {"goal only at the start", Course({{2, 0}, {1, 0}}), "main course has no goal gate"},
        {"route without end", Course({{0, 0}, {2, 0}, {0, 1}, {1, 1}}), "route 1 (from record 3) has no end gate"},
        {"route end belongs to the next route", Course({{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 2}}), "route 1"},
        {"spawn gate without its route", Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 3}, {2, 3}}),
         "spawn gate at record 5 makes enemy 2, but no record belongs to route 2"},
        {"six enemies", Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}, {0, 3}, {2, 3}, {0, 4}, {2, 4}, {0, 5}, {2, 5},
                                {0, 6}, {2, 6}}), ""},
        {"seven enemies", Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}, {0, 3}, {2, 3}, {0, 4}, {2, 4}, {0, 5}, {2, 5},
                                  {0, 6}, {2, 6}, {0, 7}, {2, 7}}),
         "the course has 7 spawn gates (enemies), the most is 6"},
        {"a route gate far away", With(Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}}), 3, MatrixTranslation(1e9f, 0, 0)),
         "record 4: the gate stands beyond the maps' reach, at (1e+09, 0, 0); x and z must lie within 3800 of 0, y within 1000"},
        {"a gate just inside the maps' edge", With(Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}}), 3, MatrixTranslation(3800, -1000, -3800)), ""},
        {"all zeros", With(Course({{0, 0}, {1, 0}, {2, 0}}), 1, Matrix{}), "record 2: the gate's matrix cannot be inverted (w = 0)"},
        {"scale 0", With(Course({{0, 0}, {1, 0}, {2, 0}}), 1, MatrixScaling(0, 1, 1) * MatrixTranslation(0, -103, 300)),
         "record 2: the gate's matrix cannot be inverted (scale 0)"},
        {"scale 1e-45", With(Course({{0, 0}, {1, 0}, {2, 0}}), 2, MatrixScaling(1e-45f, 1e-45f, 1e-45f) * MatrixTranslation(0, -103, 600)),
         "record 3: the gate's matrix cannot be inverted (scale 1.4013e-45)"},
        {"scale 3.4e38", With(Course({{0, 0}, {1, 0}, {2, 0}}), 0, MatrixScaling(3.4e38f, 1, 1)),
         "record 1: the gate's matrix is beyond the maps' reach (scale 3.4e+38"},
        {"a flat axis", With(Course({{0, 0}, {1, 0}, {2, 0}}), 1, Matrix{1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, -103, 300, 1}),
         "record 2: the gate's matrix cannot be inverted (its axes lie flat)"},
        {"w = 2", With(Course({{0, 0}, {1, 0}, {2, 0}}), 1, Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -103, 300, 2}),
         "record 2: the gate's matrix is not a placement (its last column is 0 0 0 2, not 0 0 0 1)"},
        {"a singular gate on a route still plays", With(Course({{0, 0}, {2, 0}, {0, 1}, {2, 1}}), 3, Matrix{}), ""},
        {"the goal on the start", With(Course({{0, 0}, {1, 0}, {2, 0}}), 2, MatrixTranslation(3, -103, 0)),
         "record 3: the goal stands on the start"},
        {"a gate on the one before", With(Course({{0, 0}, {1, 0}, {1, 0}, {2, 0}}), 2, MatrixTranslation(0, 500, 300)),
         "record 3: the gate stands on record 2 (0 units from it, seen from above)"},
    };
    for (const Case& c : cases) {
        const std::string message = FindUnplayableCourse(c.course);
        if (*c.expected == '\0')
            EXPECT_EQ(message, "") << c.what;
        else
            EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
    }
}

// With the maps, every gate of the player's course must stand over the ground where the craft,
// flying 7 above it, meets its panel; the craft flies straight ahead to the first gate and
// straight on to the goal.
TEST(CourseRules, TheCraftMustMeetEveryPanelOfItsCourse) {
    const CourseList plain = Course({{0, 0}, {1, 0}, {1, 0}, {2, 0}});
    const struct {
        const char* what;
        size_t record;
        Matrix world;
        const char* expected;
    } cases[] = {
        {"as laid out", 2, MatrixTranslation(0, -103, 600), ""},
        {"a gate turned half away", 2, MatrixRotationY(0.8f) * MatrixTranslation(0, -103, 600), ""},
        {"a gate 2000 above the ground", 2, MatrixTranslation(0, 1000 - 103, 600),
         "record 3: the craft, flying 7 above the ground towards the gate, never meets its panel"},
        {"a gate turned 80 degrees", 2, MatrixRotationY(1.396f) * MatrixTranslation(0, -103, 600), ""},
        {"a gate standing all but edge-on", 2, MatrixRotationY(1.5f) * MatrixTranslation(0, -103, 600), "record 3: the craft"},
        {"a gate standing edge-on", 2, MatrixRotationY(1.5707964f) * MatrixTranslation(0, -103, 600), "record 3: the craft"},
        {"a gate lying flat", 2, MatrixRotationX(1.5707964f) * MatrixTranslation(0, -103, 600), "record 3: the craft"},
        {"a gate a fiftieth of its size", 2, MatrixScaling(0.02f, 0.02f, 0.02f) * MatrixTranslation(0, -103, 600), "record 3: the craft"},
        {"the first gate off the craft's line", 1, MatrixTranslation(240, -103, 300),
         "record 2: the craft, flying straight ahead (+z) from the start, never meets the gate's panel"},
        {"the first gate behind the start", 1, MatrixTranslation(0, -103, -300), "record 2: the craft, flying straight ahead"},
        {"a gate where the map has no ground", 1, MatrixTranslation(0, -103, 3500), "record 2: the gate stands where the map has no ground"},
        {"a goal off the straight line", 3, MatrixTranslation(600, -103, 900),
         "record 4: the craft, flying straight on from record 3 (it does not turn towards a goal), never meets the goal's panel"},
        {"a goal behind the gate before it", 3, MatrixTranslation(0, -103, 400),
         "record 4: the craft, flying straight on from record 3"},
    };
    for (const auto& c : cases) {
        CourseList course = Course({{0, 0}, {1, 0}, {1, 0}, {2, 0}});
        course[c.record]->world = c.world;
        const std::string message = FindUnplayableCourse(course, &kGround);
        if (*c.expected == '\0')
            EXPECT_EQ(message, "") << c.what;
        else
            EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
        // Without the maps only the map-free rules apply.
        if (std::string(c.expected).find("craft") != std::string::npos) {
            EXPECT_EQ(FindUnplayableCourse(course), "") << c.what;
        }
    }
    EXPECT_EQ(FindUnplayableCourse(plain, &kGround), "");
}

TEST(CourseRules, LoadingNamesTheFileAndLeavesNoHalfCourse) {
    const auto dir = std::filesystem::temp_directory_path() / "korvelin_course_rules";
    std::filesystem::create_directories(dir);
    const std::string missing = (dir / "missing.dat").string();
    CourseList course;
    std::string message = LoadPlayableCourse(missing, course);
    EXPECT_NE(message.find(missing), std::string::npos) << message;
    EXPECT_TRUE(course.empty());

    const std::string single = (dir / "single.dat").string();
    std::ofstream(single) << "0 0 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
    message = LoadPlayableCourse(single, course);
    EXPECT_EQ(message, single + ": a course needs at least two records, this one has 1");
    EXPECT_TRUE(course.empty());

    const std::string folder = (dir / "folder.dat").string();
    std::filesystem::create_directories(folder);
    EXPECT_EQ(LoadPlayableCourse(folder, course), folder + ": is a folder, not a file");
    EXPECT_EQ(LoadPlayableCourse("/dev/zero", course), "/dev/zero: is not a file (a device or a socket)");

    const std::string cut = (dir / "cut.dat").string();
    std::ofstream(cut) << "0 0 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1\n2 0 1 0 0";
    message = LoadPlayableCourse(cut, course);
    EXPECT_EQ(message.rfind(cut + ": ", 0), 0u) << message;
    EXPECT_NE(message.find("ends early"), std::string::npos) << message;
    std::filesystem::remove_all(dir);
}

}  // namespace
