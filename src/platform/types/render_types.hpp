// The vocabulary of the render device: states, values and vertex layouts of a fixed-function
// device (render states, transforms, one light, textured and coloured quads), as the game draws.
#pragma once

#include <cstdint>

#include "math/math.hpp"

namespace platform {

enum class RenderState : uint8_t {
    ZEnable,
    ZWriteEnable,
    ZFunc,
    StencilEnable,
    AlphaBlendEnable,
    BlendOp,
    SrcBlend,
    DestBlend,
    SeparateAlphaBlendEnable,
    BlendOpAlpha,
    SrcBlendAlpha,
    DestBlendAlpha,
    CullMode,
    Lighting,
    NormalizeNormals,
    ShadeMode,
    SpecularEnable,
    FogEnable,
    AlphaTestEnable,
    AlphaRef,
    AlphaFunc,
    ColorWriteEnable,
    Count
};

enum class Blend : uint32_t {
    Zero = 1,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
};

enum class BlendOp : uint32_t { Add = 1, Subtract, RevSubtract, Min, Max };

// Which on-screen winding is culled: Cull::CCW removes triangles that appear counter-clockwise.
enum class Cull : uint32_t { None = 1, CW, CCW };

enum class CompareFunc : uint32_t { Never = 1, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };

enum class ShadeMode : uint32_t { Flat = 1, Gouraud = 2 };

enum class TransformType : uint8_t { World, View, Projection, Count };

enum class TextureOp : uint32_t { Disable = 1, SelectArg1, SelectArg2, Modulate };
enum class TextureArg : uint32_t { Diffuse = 0, Current = 1, Texture = 2 };
enum class TextureStageState : uint8_t { ColorOp, ColorArg1, ColorArg2, AlphaOp, AlphaArg1, AlphaArg2, Count };

enum class TextureFilter : uint32_t { None = 0, Point = 1, Linear = 2 };
enum class TextureAddress : uint32_t { Wrap = 1, Mirror, Clamp };
enum class SamplerState : uint8_t { MinFilter, MagFilter, MipFilter, AddressU, AddressV, MipLodBias, Count };

enum class LightType : uint32_t { Point = 1, Spot, Directional };

// D3DLIGHT9: the fields keep their order, since the model effect reads the float after the
// direction (the range) as the direction's fourth component.
struct Light {
    LightType type = LightType::Directional;
    ColorValue diffuse, specular, ambient;
    Vec3 position;
    Vec3 direction;
    float range = 0, falloff = 0;
    float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0, phi = 0;
};

// ARGB colour as 0xAARRGGBB.
using Color = uint32_t;
constexpr Color ColorArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// The textured, coloured vertex of screen-facing quads: XYZ | DIFFUSE | TEX1, 24 bytes.
struct HudVertex {
    float x, y, z;
    Color color;
    float u, v;
};
static_assert(sizeof(HudVertex) == 24);

// A pre-transformed vertex: XYZRHW | TEX1, 24 bytes, x and y in back-buffer pixels.
struct ScreenVertex {
    float x, y, z, rhw;
    float u, v;
};
static_assert(sizeof(ScreenVertex) == 24);

// A mesh vertex as the model effect reads it: position, normal, texture coordinate.
struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    float u, v;
};
static_assert(sizeof(MeshVertex) == 32);

enum class PrimitiveType : uint8_t { TriangleList, TriangleStrip, TriangleFan };

}  // namespace platform
