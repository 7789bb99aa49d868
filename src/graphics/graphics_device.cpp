// The graphics device.
#include "graphics/graphics_device.hpp"

#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/render_state_guard.hpp"
#include "graphics/texture.hpp"
#include "platform/gl/gl_render_device.hpp"
#include "platform/i18n/language.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/window.hpp"

using namespace platform;

GraphicsDevice& GraphicsDevice::Instance() {
    static GraphicsDevice instance;
    return instance;
}

bool GraphicsDevice::Create(Window& w, int width, int height, SurfaceFormat format, bool fullScreen) {
    window = &w;
    std::string why;
    device = CreateGlRenderDevice(w, width, height, &why);
    if (!device) {
        std::fprintf(stderr, Tr("korvelin: cannot start OpenGL 3.3 with clip control: %s\n"), why.c_str());
        ShowMessage(&w, Tr("OpenGL 3.3 could not be started"), Tr("Starting the graphics"), DialogIcon::Error);
        return false;
    }
    presentParams = {width, height, fullScreen ? format : SurfaceFormat::X8R8G8B8, !fullScreen};
    if (fullScreen) SetFullScreen(true);
    CreateSpriteAndFont();
    return true;
}

void GraphicsDevice::SetFullScreen(bool fullScreen) {
    if (!window) return;
    window->SetFullscreen(fullScreen);
    presentParams.windowed = !window->IsFullscreen();
}

bool GraphicsDevice::CreateNull(int width, int height) {
    device = std::make_unique<NullRenderDevice>(width, height);
    presentParams = {width, height, SurfaceFormat::X8R8G8B8, true};
    CreateSpriteAndFont();
    return true;
}

void GraphicsDevice::CreateSpriteAndFont() {
    sprite = std::make_unique<SpriteBatch>(*device);
    font = std::make_unique<Font>(*device);
    std::string why;
    // A proportional Japanese gothic, 12 pixels a cell.
    if (!font->Create("IPAPGothic", 12, &why)) std::fprintf(stderr, Tr("korvelin: no font for text: %s\n"), why.c_str());
    fontDesc = {12, "IPAPGothic", font->fileName()};
    backBufferSurface = kBackBuffer;
}

void GraphicsDevice::SetDefaultStates() {
    RenderDevice& d = *device;
    d.SetRenderState(RenderState::ZEnable, 1u);
    d.SetRenderState(RenderState::ZWriteEnable, 1u);
    d.SetRenderState(RenderState::StencilEnable, 1u);
    d.SetRenderState(RenderState::AlphaBlendEnable, 1u);
    SetBlendMode(d, BlendMode::Alpha);
    d.SetRenderState(RenderState::NormalizeNormals, 1u);
    d.SetRenderState(RenderState::ShadeMode, ShadeMode::Gouraud);
    d.SetRenderState(RenderState::CullMode, Cull::CCW);
    d.SetRenderState(RenderState::SeparateAlphaBlendEnable, 1u);
    d.SetRenderState(RenderState::BlendOpAlpha, BlendOp::Add);
    d.SetRenderState(RenderState::SrcBlendAlpha, Blend::One);
    d.SetRenderState(RenderState::DestBlendAlpha, Blend::InvSrcAlpha);
    d.SetTextureStageState(TextureStageState::AlphaOp, TextureOp::Modulate);
    d.SetTextureStageState(TextureStageState::AlphaArg1, TextureArg::Texture);
    d.SetTextureStageState(TextureStageState::AlphaArg2, TextureArg::Diffuse);
    d.SetTextureStageState(TextureStageState::ColorOp, TextureOp::Modulate);
    d.SetTextureStageState(TextureStageState::ColorArg1, TextureArg::Texture);
    d.SetTextureStageState(TextureStageState::ColorArg2, TextureArg::Diffuse);
    d.SetSamplerState(SamplerState::MinFilter, TextureFilter::Linear);
    d.SetSamplerState(SamplerState::MagFilter, TextureFilter::Linear);
    d.SetSamplerState(SamplerState::MipFilter, TextureFilter::Linear);
    d.SetSamplerState(SamplerState::AddressU, TextureAddress::Wrap);
    d.SetSamplerState(SamplerState::AddressV, TextureAddress::Wrap);
    const float bias = -1.0f;
    uint32_t biasBits;
    std::memcpy(&biasBits, &bias, sizeof biasBits);
    d.SetSamplerState(SamplerState::MipLodBias, biasBits);
    SetDirectionalLight(0, {0.5f, -1.0f, 0.3f}, {1, 1, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1});
    d.SetRenderState(RenderState::SpecularEnable, 1u);
    d.SetRenderState(RenderState::FogEnable, 0u);
}

void GraphicsDevice::SetDirectionalLight(int index, Vec3 direction, ColorValue diffuse, ColorValue ambient,
                                         ColorValue specular) {
    Light light;
    light.type = LightType::Directional;
    light.diffuse = diffuse;
    light.ambient = ambient;
    light.specular = specular;
    light.direction = Vec3Normalize(direction);
    device->SetLight(index, light);
    device->LightEnable(index, true);
}

Light* GraphicsDevice::GetLight(Light* out, int index) {
    if (out && device) *out = device->GetLight(index);
    return out;
}

void GraphicsDevice::DrawText(const char* text, Color color, const Matrix* transform) {
    if (!text || !sprite || !font) return;
    if (transform) sprite->SetTransform(*transform);
    font->Measure(text);
    font->Draw(*sprite, text, color);
}

void GraphicsDevice::DrawQuad(float x, float y, float w, float h, float uMax, float vMax, Color) {
    if (!device) return;
    const ScreenVertex quad[4] = {
        {x, y, 0, 1, 0, 0}, {x + w, y, 0, 1, uMax, 0}, {x, y + h, 0, 1, 0, vMax}, {x + w, y + h, 0, 1, uMax, vMax}};
    device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, quad, 4);
}

void GraphicsDevice::DrawSprite(const Texture* texture, Color color, const Matrix* transform) {
    if (!texture || !texture->texture || !sprite) return;
    if (transform) sprite->SetTransform(*transform);
    const auto& r = texture->sourceRect;
    sprite->Draw(texture->texture, {r.left, r.top, r.right, r.bottom}, color);
}

void GraphicsDevice::DrawSpritePart(const Texture* texture, int left, int top, int right, int bottom, Color color,
                                    const Matrix* transform) {
    if (!texture || !texture->texture || !sprite) return;
    if (transform) sprite->SetTransform(*transform);
    const auto& r = texture->sourceRect;
    sprite->Draw(texture->texture, {r.left + left, r.top + top, r.left + right, r.top + bottom}, color);
}

void GraphicsDevice::DrawNumber(const Texture* sheet, int64_t value, int glyphWidth, Color color, const Matrix& transform) {
    const std::string digits = std::to_string(value);
    const int height = sheet ? sheet->sourceRect.bottom - sheet->sourceRect.top : 0;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') continue;
        const int left = glyphWidth * (digits[i] - '0');
        const Matrix at = MatrixTranslation(float(glyphWidth) * float(i), 0, 0) * transform;
        DrawSpritePart(sheet, left, 0, left + glyphWidth, height, color, &at);
    }
}

void GraphicsDevice::Release() {
    if (sprite) sprite->End();
    font.reset();
    sprite.reset();
    device.reset();
    window = nullptr;
}
