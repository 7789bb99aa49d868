// The glow post-process.
#include "graphics/blur_filter.hpp"

#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "graphics/simple_shader.hpp"

void BlurFilter::Create() {
    Release();
    if (!CreateEffectOrReport(effect, "Shader/Blur.fx")) return;
    const auto& gd = GraphicsDevice::Instance();
    SetSourceSize(gd.presentParams.backBufferWidth, gd.presentParams.backBufferHeight);
}

void BlurFilter::SetSourceSize(int width, int height) {
    if (!effect.valid()) return;
    const int w = width / 2, h = height / 2;
    if (targets[0].texture && int(targets[0].imageInfo.width) == w && int(targets[0].imageInfo.height) == h) return;
    for (Texture& t : targets) t.CreateTarget(w, h, 1, TextureUsage::RenderTarget);
}

void BlurFilter::Pass(const char* technique, const Texture& source, const Texture& target) {
    target.SetAsRenderTarget(0);
    effect.SetVector("TexelSize", {1.0f / float(source.imageInfo.width), 1.0f / float(source.imageInfo.height), 0, 0});
    effect.SetTexture("InputTex", source.texture);
    effect.SetTechnique(technique);
    effect.Begin();
    effect.BeginPass(0);
    GraphicsDevice::Instance().DrawQuad(0, 0, float(target.imageInfo.width), float(target.imageInfo.height), 1, 1, 0);
    effect.EndPass();
    effect.End();
}

void BlurFilter::Blur(const Texture& source) {
    if (!valid() || !source.texture) return;
    platform::RenderDevice& d = *GraphicsDevice::Instance().device;
    SetBlendMode(d, BlendMode::Alpha);
    const platform::TextureId previous = d.GetRenderTarget(0);
    effect.SetVector("Color", {1, 1, 1, 1});
    Pass("Normaltech", source, targets[1]);
    for (int i = 0; i < 3; ++i) {
        Pass("XBlurTech", targets[1], targets[0]);
        Pass("YBlurTech", targets[0], targets[1]);
    }
    d.SetRenderTarget(0, previous);
}

void BlurFilter::DrawFullScreen(const Texture& source, int x, int y, int width, int height, const Vec4& color) {
    if (!effect.valid() || !source.texture) return;
    effect.SetVector("TexelSize", {1.0f / float(source.imageInfo.width), 1.0f / float(source.imageInfo.height), 0, 0});
    effect.SetTexture("InputTex", source.texture);
    effect.SetVector("Color", color);
    effect.SetTechnique("Normaltech");
    effect.Begin();
    effect.BeginPass(0);
    GraphicsDevice::Instance().DrawQuad(float(x), float(y), float(width), float(height), 1, 1, 0);
    effect.EndPass();
    effect.End();
}

void BlurFilter::Release() {
    effect.Release();
    for (Texture& t : targets) t.Release();
}
