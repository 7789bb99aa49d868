// A minimal JSON writer for the tool's --json output: objects, arrays, strings, numbers.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    JsonWriter& BeginObject() { Separate(); out_ += '{'; first_.push_back(true); return *this; }
    JsonWriter& EndObject() { out_ += '}'; first_.pop_back(); return *this; }
    JsonWriter& BeginArray() { Separate(); out_ += '['; first_.push_back(true); return *this; }
    JsonWriter& EndArray() { out_ += ']'; first_.pop_back(); return *this; }
    // The next value belongs to this key.
    JsonWriter& Key(std::string_view k) { Separate(); String(k); out_ += ':'; pendingKey_ = true; return *this; }
    JsonWriter& Value(std::string_view s) { Separate(); String(s); return *this; }
    JsonWriter& Value(const char* s) { return Value(std::string_view(s)); }
    JsonWriter& Value(bool b) { Separate(); out_ += b ? "true" : "false"; return *this; }
    JsonWriter& Value(int64_t v) { Separate(); out_ += std::to_string(v); return *this; }
    JsonWriter& Value(int v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(uint32_t v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(uint64_t v) { return Value(static_cast<int64_t>(v)); }
    // JSON has no infinity or NaN: they are written as null (a course spanning the float range
    // has an infinite length).
    JsonWriter& Value(double v) {
        Separate();
        if (!std::isfinite(v)) {
            out_ += "null";
            return *this;
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.9g", v);
        out_ += buf;
        return *this;
    }
    JsonWriter& Value(float v) { return Value(static_cast<double>(v)); }
    const std::string& str() const { return out_; }

private:
    void Separate() {
        if (pendingKey_) { pendingKey_ = false; return; }
        if (!first_.empty()) {
            if (!first_.back()) out_ += ',';
            first_.back() = false;
        }
    }
    void String(std::string_view s) {
        out_ += '"';
        for (unsigned char c : s) {
            switch (c) {
                case '"': out_ += "\\\""; break;
                case '\\': out_ += "\\\\"; break;
                case '\n': out_ += "\\n"; break;
                case '\t': out_ += "\\t"; break;
                default:
                    if (c < 0x20) {
                        char buf[8];
                        std::snprintf(buf, sizeof buf, "\\u%04x", c);
                        out_ += buf;
                    } else {
                        out_ += static_cast<char>(c);
                    }
            }
        }
        out_ += '"';
    }
    std::string out_;
    std::vector<bool> first_;
    bool pendingKey_ = false;
};
