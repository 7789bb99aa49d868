// GLSL info-log line rewriting for effect compile errors.
#include "platform/effect/shader_log.hpp"

#include <charconv>

namespace platform {

namespace {

// Reads digits at s[i...]; false when there are none.
bool Digits(std::string_view s, size_t& i, long& value) {
    const auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), value);
    if (ec != std::errc()) return false;
    i = size_t(end - s.data());
    return true;
}

// Finds the GLSL line number of a log line and the text after its location.
bool ParseLocation(std::string_view line, long& glslLine, std::string_view& message) {
    size_t i = 0;
    long sourceString = 0;
    if (!Digits(line, i, sourceString) || i >= line.size()) return false;
    if (line[i] == ':') {  // Mesa: 0:LINE(COL): message
        ++i;
        if (!Digits(line, i, glslLine)) return false;
        if (i < line.size() && line[i] == '(') {
            const size_t close = line.find(')', i);
            if (close == std::string_view::npos) return false;
            i = close + 1;
        }
    } else if (line[i] == '(') {  // 0(LINE) : message
        ++i;
        if (!Digits(line, i, glslLine) || i >= line.size() || line[i] != ')') return false;
        ++i;
    } else {
        return false;
    }
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size() || line[i] != ':') return false;
    ++i;
    while (i < line.size() && line[i] == ' ') ++i;
    message = line.substr(i);
    return true;
}

}  // namespace

std::string MapShaderLog(std::string_view log, const std::string& fileName, int startLine) {
    std::string out;
    size_t pos = 0;
    while (pos < log.size()) {
        size_t end = log.find('\n', pos);
        if (end == std::string_view::npos) end = log.size();
        std::string_view line = log.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\0')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (!out.empty()) out += '\n';
        long glslLine = 0;
        std::string_view message;
        if (ParseLocation(line, glslLine, message) && glslLine >= 1 && glslLine < 100000000) {
            out += fileName + "(" + std::to_string(startLine + glslLine - 1) + "): " + std::string(message);
        } else {
            out += fileName + ": " + std::string(line);
        }
    }
    return out;
}

}  // namespace platform
