// The frame's draw pipeline.
#include "graphics/frame_pipeline.hpp"

#include <algorithm>

#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"

using namespace platform;

FramePipeline::FramePipeline(GameEffects& effects) : effects_(effects) {
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    glowTarget_.CreateTarget(pp.backBufferWidth, pp.backBufferHeight, 1, TextureUsage::RenderTarget);
}

FramePipeline::~FramePipeline() {
    glowTarget_.Release();
    sceneTarget_.Release();
    if (renderScale_ != 1.0f) {
        const PresentParams& pp = GraphicsDevice::Instance().presentParams;
        effects_.blurFilter.SetSourceSize(pp.backBufferWidth, pp.backBufferHeight);
    }
}

void FramePipeline::SetRenderScale(float scale) {
    if (scale == renderScale_) return;
    renderScale_ = scale;
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    const int w = std::max(1, int(float(pp.backBufferWidth) * scale + 0.5f));
    const int h = std::max(1, int(float(pp.backBufferHeight) * scale + 0.5f));
    glowTarget_.CreateTarget(w, h, 1, TextureUsage::RenderTarget);
    if (scale < 1.0f)
        sceneTarget_.CreateTarget(w, h, 1, TextureUsage::RenderTargetWithDepth);
    else
        sceneTarget_.Release();
    effects_.blurFilter.SetSourceSize(w, h);
}

void FramePipeline::UploadFrameParameters() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    const Matrix& view = gd.device->GetTransform(TransformType::View);
    const Matrix& projection = gd.device->GetTransform(TransformType::Projection);
    const Matrix inverseView = MatrixInverse(view);
    const Vec3 camera = inverseView.Row(3);
    Light light;
    gd.GetLight(&light, 0);

    // Effects that failed to load ignore all of this.
    Effect& simple = effects_.simpleShader.effect;
    simple.SetValue("LightDir", &light.direction, sizeof(float) * 3);
    simple.SetVector("LightColor", {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a});
    simple.SetVector("LightAmbient", {0.5f, 0.5f, 0.5f, 0.0f});
    simple.SetVector("LightSpecular", {light.specular.r, light.specular.g, light.specular.b, light.specular.a});
    simple.SetMatrix("mP", projection);
    simple.SetMatrix("mV", view);
    simple.SetValue("CamPos", &camera, sizeof(float) * 3);

    Effect& model = effects_.modelShader.effect;
    model.SetMatrix("mV", view);
    model.SetMatrix("mP", projection);
    model.SetVector("LightColor", {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a});
    // The fourth component is the light record's next float, its range (0 for light 0).
    model.SetVector("LightDir", {light.direction.x, light.direction.y, light.direction.z, light.range});
    model.SetVector("LightAmbient", {light.ambient.r, light.ambient.g, light.ambient.b, light.ambient.a});
    model.SetVector("LightSpeculer", {light.specular.r, light.specular.g, light.specular.b, light.specular.a});
    model.SetVector("CamPos", {camera.x, camera.y, camera.z, 1.0f});
}

void FramePipeline::Draw(FrameScene* scene) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    BlurFilter& blur = effects_.blurFilter;

    // Below full scale the stretch covers every pixel of the back buffer, which then needs no
    // clearing of its own.
    const bool scaled = sceneTarget_.texture != 0;
    if (!scaled) d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    if (glowTarget_.texture) {
        glowTarget_.SetAsRenderTarget(0);
        d.Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
    if (scaled) {
        sceneTarget_.SetAsRenderTarget(0);
        d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    }
    Step("clear");
    d.SetRenderTarget(0, scaled ? sceneTarget_.surface : gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    d.BeginScene();
    if (scene) scene->PreDraw();
    UploadFrameParameters();
    if (glowTarget_.texture) glowTarget_.SetAsRenderTarget(1);
    if (scene) scene->Draw3D();
    Step("3d");
    d.SetRenderTarget(0, gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    if (scaled) d.CopyToBackBuffer(sceneTarget_.texture);
    Step("stretch");
    gd.sprite->Begin();
    if (scene) scene->Draw2D();
    gd.sprite->End();
    Step("sprites");
    if (blur.valid() && glowTarget_.texture) {
        blur.Blur(glowTarget_);
        Step("blur");
        RenderStateGuard glow(d);
        glow.Blend(BlendMode::Additive);
        blur.DrawFullScreen(blur.targets[1], 0, 0, gd.presentParams.backBufferWidth, gd.presentParams.backBufferHeight,
                            {5, 5, 5, 5});
        Step("glow");
    }
    d.EndScene();
}

void FramePipeline::Step(const char* step) {
    if (onDrawStep) onDrawStep(step);
}
