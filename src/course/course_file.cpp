// Reading and writing course files, independent of the user's locale.
#include "course/course_file.hpp"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <istream>
#include <sstream>

#include "platform/files/bounded_file.hpp"

#include "platform/files/safe_file.hpp"


namespace {

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Skips whitespace; true when a word follows.
bool WordFollows(std::istream& in) {
    std::streambuf* buf = in.rdbuf();
    if (!in.good() || buf == nullptr) return false;
    using Traits = std::istream::traits_type;
    int c = buf->sgetc();
    while (c != Traits::eof() && IsSpace(c)) c = buf->snextc();
    if (c == Traits::eof()) {
        in.setstate(std::ios::eofbit);
        return false;
    }
    return true;
}

}  // namespace

std::string FormatCourseFloat(float value) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

CourseLoadReport ReadCourse(std::istream& in, CourseList& list) {
    list.clear();
    CourseLoadReport report;
    report.opened = true;
    try {
        // The stream failing (not only its end) stops the loop, so a broken read cannot spin.
        while (WordFollows(in)) {
            if (list.size() == course_limits::kMaxRecords) {
                report.tooManyRecords = true;
                break;
            }
            auto record = std::make_unique<CheckPoint>();
            const int words = record->Read(in);
            list.push_back(std::move(record));
            if (in.bad()) {
                report.readError = true;
                break;
            }
            if (words < 18) {
                report.truncated = true;
                break;
            }
        }
    } catch (const std::exception&) {
        // A stream's buffer throws on a failed read (a folder opened as a file, for one).
        report.readError = true;
    }
    if (in.bad()) report.readError = true;
    report.records = list.size();
    if (report.readError)
        report.message = "read error after " + std::to_string(list.size()) + " records";
    else if (report.tooManyRecords)
        report.message = "more than " + std::to_string(course_limits::kMaxRecords) +
                         " records, the most a course may have";
    else if (report.truncated)
        report.message = "the last record (number " + std::to_string(list.size()) +
                         ") ends early; its missing values keep their defaults";
    return report;
}

CourseLoadReport LoadCourse(const std::string& path, CourseList& list) {
    list.clear();
    std::string text, why;
    if (!platform::ReadBoundedFile(path, course_limits::kMaxBytes, "the most a course file may hold", &text, &why)) {
        CourseLoadReport report;
        report.message = path + ": " + why;
        return report;
    }
    std::istringstream in(std::move(text));
    CourseLoadReport report = ReadCourse(in, list);
    if (!report.message.empty()) report.message = path + ": " + report.message;
    return report;
}

std::string FormatCourse(const CourseList& list) {
    std::string text;
    text.reserve(list.size() * 120);
    bool first = true;
    for (const auto& record : list) {
        if (!first) text += '\n';
        first = false;
        text += std::to_string(record->kind);
        text += '\t';
        text += std::to_string(record->enemyNo);
        const float* element = record->editedWorld.Data();
        for (int i = 0; i < 16; ++i) {
            text += '\t';
            text += FormatCourseFloat(element[i]);
        }
    }
    return text;
}

bool SaveCourse(const CourseList& list, const std::string& path, std::string* error) {
    return platform::WriteFileSafely(path, FormatCourse(list), error);
}
