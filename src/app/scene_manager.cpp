// The scene manager and the frame's draw pipeline.
#include "app/scene_manager.hpp"

#include <algorithm>

#include "app/application.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/render_state_guard.hpp"
#include "platform/input/input.hpp"
#include "scene/controls_reader.hpp"

using namespace platform;

SceneManager::SceneManager(SceneFactory factory) : factory_(std::move(factory)) {
    SetSceneHost(&Application::Instance());
}

SceneManager::~SceneManager() {
    // The scene goes before the services it was handed, also when Release was never called.
    Release();
    glowTarget.Release();
    sceneTarget.Release();
    // The blur belongs to the process: the next manager starts at full size.
    if (renderScale_ != 1.0f) {
        const PresentParams& pp = GraphicsDevice::Instance().presentParams;
        Application::Instance().blurFilter.SetSourceSize(pp.backBufferWidth, pp.backBufferHeight);
    }
}

void SceneManager::SetRenderScale(float scale) {
    if (scale == renderScale_) return;
    renderScale_ = scale;
    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    const int w = std::max(1, int(float(pp.backBufferWidth) * scale + 0.5f));
    const int h = std::max(1, int(float(pp.backBufferHeight) * scale + 0.5f));
    glowTarget.CreateTarget(w, h, 1, TextureUsage::RenderTarget);
    if (scale < 1.0f)
        sceneTarget.CreateTarget(w, h, 1, TextureUsage::RenderTargetWithDepth);
    else
        sceneTarget.Release();
    Application::Instance().blurFilter.SetSourceSize(w, h);
}

void SceneManager::Init(SceneId first) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    gd.SetDirectionalLight(0, {0, -1, 0}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0}, {1, 1, 1, 0});
    const float aspect = float(gd.presentParams.backBufferWidth) / float(gd.presentParams.backBufferHeight);
    gd.device->SetTransform(TransformType::Projection, MatrixPerspectiveFovLH(1.0471976f, aspect, 0.01f, 1000.0f));
    glowTarget.CreateTarget(gd.presentParams.backBufferWidth, gd.presentParams.backBufferHeight, 1,
                            TextureUsage::RenderTarget);
    const Application& app = Application::Instance();
    services_ = std::make_unique<GameServices>(app.developerOverlay, app.soundDevice);
    services_->overlay().gameFolderReadOnly = app.readOnlyGameFolder;
    services_->overlay().startFolder = app.startFolder;
    scene = factory_(first, *services_);
}

void SceneManager::Update() {
    if (!scene) {
        if (observer_) observer_(nullptr);
        return;
    }
    ++updatesSinceDraw_;
    Input& input = GetInput();
    // Keys typed into the overlay's fields are theirs alone; one still held afterwards counts
    // again only once released.
    if (services_->overlay().TakesKeyboard()) input.ForgetKeys();
    const SceneId wanted = scene->Update(ReadControls(input, PictureMiddle(input), feel));
    if (observer_) observer_(scene.get());
    if (wanted == scene->sceneId) return;
    // The old scene is gone before anything is drawn; the new one draws in this frame.
    scene.reset();
    scene = factory_(wanted, *services_);
    // What was pressed for the old scene is not meant for the new one.
    GetInput().ForgetKeys();
}

void SceneManager::UploadFrameParameters() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    Application& app = Application::Instance();
    const Matrix& view = gd.device->GetTransform(TransformType::View);
    const Matrix& projection = gd.device->GetTransform(TransformType::Projection);
    const Matrix inverseView = MatrixInverse(view);
    const Vec3 camera = inverseView.Row(3);
    Light light;
    gd.GetLight(&light, 0);

    // Effects that failed to load ignore all of this.
    Effect& simple = app.simpleShader.effect;
    simple.SetValue("LightDir", &light.direction, sizeof(float) * 3);
    simple.SetVector("LightColor", {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a});
    simple.SetVector("LightAmbient", {0.5f, 0.5f, 0.5f, 0.0f});
    simple.SetVector("LightSpecular", {light.specular.r, light.specular.g, light.specular.b, light.specular.a});
    simple.SetMatrix("mP", projection);
    simple.SetMatrix("mV", view);
    simple.SetValue("CamPos", &camera, sizeof(float) * 3);

    Effect& model = app.modelShader.effect;
    model.SetMatrix("mV", view);
    model.SetMatrix("mP", projection);
    model.SetVector("LightColor", {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a});
    // The fourth component is the light record's next float, its range (0 for light 0).
    model.SetVector("LightDir", {light.direction.x, light.direction.y, light.direction.z, light.range});
    model.SetVector("LightAmbient", {light.ambient.r, light.ambient.g, light.ambient.b, light.ambient.a});
    model.SetVector("LightSpeculer", {light.specular.r, light.specular.g, light.specular.b, light.specular.a});
    model.SetVector("CamPos", {camera.x, camera.y, camera.z, 1.0f});
}

void SceneManager::Draw() {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    RenderDevice& d = *gd.device;
    Application& app = Application::Instance();

    // Below full scale the 3D picture is drawn into a smaller target of its own and then
    // stretched over the back buffer, depth and all, before the sprites: the stretch covers
    // every pixel of the back buffer, which then needs no clearing of its own.
    const bool scaled = sceneTarget.texture != 0;
    if (!scaled) d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    if (glowTarget.texture) {
        glowTarget.SetAsRenderTarget(0);
        d.Clear(kClearTarget, 0xFF000000, 1.0f, 0);
    }
    if (scaled) {
        sceneTarget.SetAsRenderTarget(0);
        d.Clear(kClearTarget | kClearZBuffer | kClearStencil, 0xFF000000, 1.0f, 0);
    }
    Step("clear");
    d.SetRenderTarget(0, scaled ? sceneTarget.surface : gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    d.BeginScene();
    if (scene) scene->drawSteps = std::max(1, updatesSinceDraw_);
    updatesSinceDraw_ = 0;
    if (scene) scene->PreDraw();
    UploadFrameParameters();
    if (glowTarget.texture) glowTarget.SetAsRenderTarget(1);
    if (scene) scene->Draw3D();
    Step("3d");
    d.SetRenderTarget(0, gd.backBufferSurface);
    for (int i = 1; i < kMaxRenderTargets; ++i) d.SetRenderTarget(i, 0);
    if (scaled) d.CopyToBackBuffer(sceneTarget.texture);
    Step("stretch");
    gd.sprite->Begin();
    if (scene) scene->Draw2D();
    gd.sprite->End();
    Step("sprites");
    if (app.blurFilter.valid() && glowTarget.texture) {
        app.blurFilter.Blur(glowTarget);
        Step("blur");
        // The blurred glow is added over the picture, five times as bright.
        RenderStateGuard glow(d);
        glow.Blend(BlendMode::Additive);
        app.blurFilter.DrawFullScreen(app.blurFilter.targets[1], 0, 0, gd.presentParams.backBufferWidth,
                                      gd.presentParams.backBufferHeight, {5, 5, 5, 5});
        Step("glow");
    }
    d.EndScene();
}

void SceneManager::Step(const char* step) {
    if (onDrawStep) onDrawStep(step);
}

void SceneManager::Release() {
    scene.reset();
    services_.reset();
}
