// The one-line JSON writer.
#include "platform/trace/trace_writer.hpp"

#include <charconv>
#include <cmath>

namespace platform {

TraceWriter::TraceWriter(bool spaced) : spaced_(spaced), line_(1, '{'), levels_(1) {}

void TraceWriter::Key(std::string_view name) {
    Level& level = levels_.back();
    if (!level.first) line_ += spaced_ ? ", " : ",";
    level.first = false;
    if (level.array) return;
    Quote(name);
    line_ += spaced_ ? ": " : ":";
}

void TraceWriter::Number(float value) {
    if (!std::isfinite(value)) {
        line_ += "null";
        return;
    }
    // The shortest text that reads back to the same float.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line_.append(buffer, result.ptr);
}

void TraceWriter::Int(std::string_view name, int64_t value) {
    Key(name);
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line_.append(buffer, result.ptr);
}

void TraceWriter::Float(std::string_view name, float value) {
    Key(name);
    Number(value);
}

void TraceWriter::Bool(std::string_view name, bool value) {
    Key(name);
    line_ += value ? "true" : "false";
}

void TraceWriter::Null(std::string_view name) {
    Key(name);
    line_ += "null";
}

void TraceWriter::String(std::string_view name, std::string_view value) {
    Key(name);
    Quote(value);
}

void TraceWriter::Quote(std::string_view value) {
    line_ += '"';
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            line_ += '\\';
            line_ += c;
        } else if (u < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            line_ += "\\u00";
            line_ += kHex[u >> 4];
            line_ += kHex[u & 15];
        } else {
            line_ += c;
        }
    }
    line_ += '"';
}

void TraceWriter::Vec(std::string_view name, Vec3 value) {
    BeginArray(name);
    for (const float f : {value.x, value.y, value.z}) {
        Key({});
        Number(f);
    }
    EndArray();
}

void TraceWriter::BeginObject(std::string_view name) {
    Key(name);
    line_ += '{';
    levels_.push_back({false, true});
}

void TraceWriter::BeginObject() { BeginObject({}); }

void TraceWriter::BeginArray(std::string_view name) {
    Key(name);
    line_ += '[';
    levels_.push_back({true, true});
}

void TraceWriter::EndObject() {
    if (levels_.size() > 1) levels_.pop_back();
    line_ += '}';
}

void TraceWriter::EndArray() {
    if (levels_.size() > 1) levels_.pop_back();
    line_ += ']';
}

std::string TraceWriter::TakeLine() {
    std::string done = std::move(line_);
    done += "}\n";
    line_.assign(1, '{');
    levels_.assign(1, {});
    return done;
}

}  // namespace platform
