// Fuzz target: any bytes read as a course file. Reading must not crash, and the saved text of
// what was read must read back to the same saved text.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "course/course_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CourseList list;
    ReadCourse(in, list);
    for (auto& record : list) record->UpdateEditedWorld();
    const std::string first = FormatCourse(list);

    std::istringstream again(first);
    CourseList back;
    CourseLoadReport report = ReadCourse(again, back);
    if (!report.Ok() || back.size() != list.size()) std::abort();
    for (auto& record : back) record->UpdateEditedWorld();
    if (FormatCourse(back) != first) std::abort();
    return 0;
}
