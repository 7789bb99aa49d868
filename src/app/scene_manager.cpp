// The scene manager.
#include "app/scene_manager.hpp"

#include <algorithm>

#include "app/application.hpp"
#include "app/player_settings.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/input/input.hpp"
#include "scene/controls_reader.hpp"

using namespace platform;

SceneManager::SceneManager(RunConfig config) : config_(std::move(config)) {
    SetSceneHost(&Application::Instance());
}

SceneManager::SceneManager(SceneFactory factory) : SceneManager([&] {
    RunConfig config;
    config.sceneFactory = std::move(factory);
    return config;
}()) {}

SceneManager::~SceneManager() {
    // The scene goes before the services it was handed, also when Release was never called.
    Release();
    pipeline_.reset();
}

void SceneManager::Init(SceneId first) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    gd.SetDirectionalLight(0, {0, -1, 0}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0}, {1, 1, 1, 0});
    const float aspect = float(gd.presentParams.backBufferWidth) / float(gd.presentParams.backBufferHeight);
    gd.device->SetTransform(TransformType::Projection, MatrixPerspectiveFovLH(1.0471976f, aspect, 0.01f, 1000.0f));
    pipeline_ = std::make_unique<FramePipeline>(GameEffects::Instance());
    services_ = std::make_unique<GameServices>(config_.developerOverlay, config_.soundDevice);
    services_->overlay().gameFolderReadOnly = config_.readOnlyGameFolder;
    services_->overlay().startFolder = config_.startFolder;
    scene = config_.sceneFactory(first, *services_);
}

void SceneManager::ApplySettings(const Settings& settings, SettingChanges changed) {
    if (changed.Has(SettingGroup::Audio))
        services_->sound().SetVolumes(GainOfPercent(settings.music), GainOfPercent(settings.effects));
    if (changed.Has(SettingGroup::Look)) feel_ = {settings.mouseSensitivity, settings.invertVertical};
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
    const SceneId wanted = scene->Update(ReadControls(input, PictureMiddle(input), feel_));
    if (observer_) observer_(scene.get());
    if (wanted == scene->sceneId) return;
    // The old scene is gone before anything is drawn; the new one draws in this frame.
    scene.reset();
    scene = config_.sceneFactory(wanted, *services_);
    // What was pressed for the old scene is not meant for the new one.
    GetInput().ForgetKeys();
}

void SceneManager::Draw() {
    if (scene) scene->drawSteps = std::max(1, updatesSinceDraw_);
    updatesSinceDraw_ = 0;
    pipeline_->Draw(scene.get());
}

void SceneManager::Release() {
    scene.reset();
    services_.reset();
}
