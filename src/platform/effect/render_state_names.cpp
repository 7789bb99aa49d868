// Tables of render state names and value names, and the parsing of a state's value text.
#include "platform/effect/render_state_names.hpp"

#include <array>
#include <charconv>
#include <span>

namespace platform {

namespace {

struct NamedValue {
    const char* name;
    uint32_t value;
};

constexpr std::array<const char*, size_t(RenderState::Count)> kStateNames = {
    "ZEnable",       "ZWriteEnable",   "ZFunc",           "StencilEnable",
    "AlphaBlendEnable", "BlendOp",     "SrcBlend",        "DestBlend",
    "SeparateAlphaBlendEnable", "BlendOpAlpha", "SrcBlendAlpha", "DestBlendAlpha",
    "CullMode",      "Lighting",       "NormalizeNormals", "ShadeMode",
    "SpecularEnable", "FogEnable",     "AlphaTestEnable", "AlphaRef",
    "AlphaFunc",     "ColorWriteEnable",
};

constexpr NamedValue kBools[] = {{"false", 0}, {"true", 1}};
constexpr NamedValue kBlends[] = {
    {"Zero", uint32_t(Blend::Zero)},           {"One", uint32_t(Blend::One)},
    {"SrcColor", uint32_t(Blend::SrcColor)},   {"InvSrcColor", uint32_t(Blend::InvSrcColor)},
    {"SrcAlpha", uint32_t(Blend::SrcAlpha)},   {"InvSrcAlpha", uint32_t(Blend::InvSrcAlpha)},
    {"DestAlpha", uint32_t(Blend::DestAlpha)}, {"InvDestAlpha", uint32_t(Blend::InvDestAlpha)},
    {"DestColor", uint32_t(Blend::DestColor)}, {"InvDestColor", uint32_t(Blend::InvDestColor)},
};
constexpr NamedValue kBlendOps[] = {
    {"Add", uint32_t(BlendOp::Add)}, {"Subtract", uint32_t(BlendOp::Subtract)},
    {"RevSubtract", uint32_t(BlendOp::RevSubtract)}, {"Min", uint32_t(BlendOp::Min)},
    {"Max", uint32_t(BlendOp::Max)},
};
constexpr NamedValue kCulls[] = {{"None", uint32_t(Cull::None)}, {"CW", uint32_t(Cull::CW)}, {"CCW", uint32_t(Cull::CCW)}};
constexpr NamedValue kCompares[] = {
    {"Never", uint32_t(CompareFunc::Never)},       {"Less", uint32_t(CompareFunc::Less)},
    {"Equal", uint32_t(CompareFunc::Equal)},       {"LessEqual", uint32_t(CompareFunc::LessEqual)},
    {"Greater", uint32_t(CompareFunc::Greater)},   {"NotEqual", uint32_t(CompareFunc::NotEqual)},
    {"GreaterEqual", uint32_t(CompareFunc::GreaterEqual)}, {"Always", uint32_t(CompareFunc::Always)},
};
constexpr NamedValue kShades[] = {{"Flat", uint32_t(ShadeMode::Flat)}, {"Gouraud", uint32_t(ShadeMode::Gouraud)}};
constexpr NamedValue kColorBits[] = {{"Red", 1}, {"Green", 2}, {"Blue", 4}, {"Alpha", 8}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::span<const NamedValue> ValuesOf(RenderState state) {
    switch (state) {
        case RenderState::ZEnable:
        case RenderState::ZWriteEnable:
        case RenderState::StencilEnable:
        case RenderState::AlphaBlendEnable:
        case RenderState::SeparateAlphaBlendEnable:
        case RenderState::Lighting:
        case RenderState::NormalizeNormals:
        case RenderState::SpecularEnable:
        case RenderState::FogEnable:
        case RenderState::AlphaTestEnable:
            return kBools;
        case RenderState::ZFunc:
        case RenderState::AlphaFunc:
            return kCompares;
        case RenderState::BlendOp:
        case RenderState::BlendOpAlpha:
            return kBlendOps;
        case RenderState::SrcBlend:
        case RenderState::DestBlend:
        case RenderState::SrcBlendAlpha:
        case RenderState::DestBlendAlpha:
            return kBlends;
        case RenderState::CullMode:
            return kCulls;
        case RenderState::ShadeMode:
            return kShades;
        case RenderState::AlphaRef:
        case RenderState::ColorWriteEnable:
        case RenderState::Count:
            break;
    }
    return {};
}

// Decimal or 0x-prefixed hexadecimal, the whole text, at most `max`.
bool ParseNumber(std::string_view text, uint32_t max, uint32_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    uint32_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc() || end != text.data() + text.size() || v > max) return false;
    value = v;
    return true;
}

std::string Choices(std::span<const NamedValue> values) {
    std::string s;
    for (const NamedValue& v : values) {
        if (!s.empty()) s += ", ";
        s += v.name;
    }
    return s;
}

}  // namespace

const char* RenderStateName(RenderState state) {
    const auto i = size_t(state);
    return i < kStateNames.size() ? kStateNames[i] : "";
}

std::optional<RenderState> RenderStateFromName(std::string_view name) {
    for (size_t i = 0; i < kStateNames.size(); ++i)
        if (EqualNoCase(name, kStateNames[i])) return RenderState(i);
    return std::nullopt;
}

bool ParseRenderStateValue(RenderState state, std::string_view text, uint32_t& value, std::string& why) {
    if (state == RenderState::AlphaRef) {
        if (ParseNumber(text, 255, value)) return true;
        why = "AlphaRef takes a number from 0 to 255";
        return false;
    }
    if (state == RenderState::ColorWriteEnable) {
        if (ParseNumber(text, 15, value)) return true;
        uint32_t mask = 0;
        std::string_view rest = text;
        bool ok = !rest.empty();
        while (ok && !rest.empty()) {
            const size_t bar = rest.find('|');
            std::string_view part = rest.substr(0, bar);
            while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
            while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
            bool found = false;
            for (const NamedValue& bit : kColorBits) {
                if (EqualNoCase(part, bit.name)) {
                    mask |= bit.value;
                    found = true;
                }
            }
            ok = found;
            if (bar == std::string_view::npos) break;
            rest.remove_prefix(bar + 1);
            if (rest.empty()) ok = false;  // a trailing '|'
        }
        if (ok) {
            value = mask;
            return true;
        }
        why = "ColorWriteEnable takes a mask from 0 to 15 or Red|Green|Blue|Alpha";
        return false;
    }
    const std::span<const NamedValue> values = ValuesOf(state);
    for (const NamedValue& v : values) {
        if (EqualNoCase(text, v.name)) {
            value = v.value;
            return true;
        }
    }
    why = std::string(RenderStateName(state)) + " takes one of: " + Choices(values);
    return false;
}

std::string RenderStateValueName(RenderState state, uint32_t value) {
    for (const NamedValue& v : ValuesOf(state))
        if (v.value == value) return v.name;
    return std::to_string(value);
}

}  // namespace platform
