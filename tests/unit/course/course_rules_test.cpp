// Which courses a run can be flown on, and what the refusal says.
#include "course/course_rules.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A course from "kind/enemyNo" pairs, every gate at the origin.
CourseList Course(std::initializer_list<std::pair<int, int>> gates) {
    CourseList list;
    for (auto [kind, enemyNo] : gates) {
        auto cp = std::make_unique<CheckPoint>();
        cp->kind = kind;
        cp->enemyNo = enemyNo;
        list.push_back(std::move(cp));
    }
    return list;
}

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
    };
    for (const Case& c : cases) {
        const std::string message = FindUnplayableCourse(c.course);
        if (*c.expected == '\0')
            EXPECT_EQ(message, "") << c.what;
        else
            EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
    }
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

    const std::string cut = (dir / "cut.dat").string();
    std::ofstream(cut) << "0 0 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1\n2 0 1 0 0";
    message = LoadPlayableCourse(cut, course);
    EXPECT_EQ(message.rfind(cut + ": ", 0), 0u) << message;
    EXPECT_NE(message.find("ends early"), std::string::npos) << message;
    std::filesystem::remove_all(dir);
}

}  // namespace
