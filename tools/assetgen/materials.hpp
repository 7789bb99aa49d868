// Material presets shared by the model files: the neon-at-dusk palette.
#pragma once

#include <string>

#include "x_writer.hpp"

inline XMaterial Matte(float r, float g, float b, std::string texture = {}) {
    XMaterial m;
    m.diffuse = {r, g, b, 1.0f};
    m.power = 10.0f;
    m.specular = {0.25f, 0.25f, 0.3f};
    m.texture = std::move(texture);
    return m;
}

inline XMaterial Glossy(float r, float g, float b, float power, std::string texture = {}) {
    XMaterial m = Matte(r, g, b, std::move(texture));
    m.power = power;
    m.specular = {0.9f, 0.9f, 1.0f};
    return m;
}

// A light-giving material: bright diffuse and the same emissive colour.
inline XMaterial Neon(float r, float g, float b, std::string texture = {}) {
    XMaterial m = Matte(r, g, b, std::move(texture));
    m.emissive = {r, g, b};
    m.specular = {1, 1, 1};
    m.power = 30.0f;
    return m;
}

// Colours of the palette.
namespace palette {
constexpr float kCyan[3] = {0.25f, 0.95f, 1.0f};
constexpr float kMagenta[3] = {1.0f, 0.25f, 0.8f};
constexpr float kOrange[3] = {1.0f, 0.55f, 0.12f};
constexpr float kRed[3] = {1.0f, 0.18f, 0.12f};
constexpr float kGold[3] = {1.0f, 0.8f, 0.3f};
}  // namespace palette

inline XMaterial NeonOf(const float (&c)[3], std::string texture = {}) {
    return Neon(c[0], c[1], c[2], std::move(texture));
}
