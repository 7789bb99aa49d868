// Fuzz target: any bytes read as a course file. Reading must not crash, and the saved text of
// what was read must read back to the same saved text. What was read then goes through the
// game's rules, the checker and the picture, which must end in time on any course.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "course/course_file.hpp"
#include "course_world.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CourseList list;
    ReadCourse(in, list);
    if (list.size() > course_limits::kMaxRecords) std::abort();
    for (auto& record : list) record->UpdateEditedWorld();
    const std::string first = FormatCourse(list);

    std::istringstream again(first);
    CourseList back;
    CourseLoadReport report = ReadCourse(again, back);
    if (!report.Ok() || back.size() != list.size()) std::abort();
    for (auto& record : back) record->UpdateEditedWorld();
    if (FormatCourse(back) != first) std::abort();

    fuzz_world::CheckAndDraw(list, nullptr);
    return 0;
}
