// The settings file's texts.
#include "platform/settings/settings_text.hpp"

#include <charconv>
#include <cstdio>

#include "platform/files/message_text.hpp"

namespace platform {

std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string s;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= kShown && (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return Cat({"\"", s, "...\""});
        const char c = text[i];
        s += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    }
    return Cat({"\"", s, "\""});
}

std::string FloatText(double value) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, ec == std::errc() ? end : buf);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

std::string StringText(std::string_view text) {
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            s += buf;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

std::string Found(const SettingValue& value) {
    using Type = SettingValue::Type;
    switch (value.type) {
        case Type::String: return Quoted(value.text);
        case Type::Integer: return std::to_string(value.integer);
        case Type::Float: return FloatText(value.number);
        case Type::Boolean: return value.flag ? "true" : "false";
        case Type::List: return "a list";
        case Type::Table: return "a table";
        case Type::Other: break;
    }
    return "a date or time";
}

}  // namespace platform
