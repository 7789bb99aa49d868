// Typed paths to absolute ones and back to short ones.
#include "platform/files/user_path.hpp"

#include <filesystem>

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::string ExpandUserPath(const std::string& typed, const std::string& startFolder, const std::string& home,
                           std::string* error) {
    namespace fs = std::filesystem;
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return std::string();
    };
    size_t first = 0, last = typed.size();
    while (first < last && IsBlank(typed[first])) ++first;
    while (last > first && IsBlank(typed[last - 1])) --last;
    const std::string text = typed.substr(first, last - first);
    if (text.empty()) return fail("no file named: type a path");
    fs::path path;
    if (text[0] == '~') {
        if (text.size() > 1 && text[1] != '/') return fail("only ~ and ~/ are understood, not another user's ~name");
        if (!fs::path(home).is_absolute()) return fail("~ needs HOME, and HOME names no folder");
        path = fs::path(home) / text.substr(text.size() > 1 ? 2 : 1);
    } else {
        path = fs::path(startFolder) / text;  // an absolute text replaces the folder
    }
    return path.lexically_normal().string();
}

std::string ShortUserPath(const std::string& path, const std::string& home) {
    std::string base = home;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base.size() < 2 || base[0] != '/') return path;
    if (path == base) return "~";
    if (path.compare(0, base.size(), base) == 0 && path.size() > base.size() && path[base.size()] == '/')
        return std::string("~").append(path, base.size(), std::string::npos);
    return path;
}

}  // namespace platform
