// Owns the current scene and runs every frame's update and draw for it: scene switching by
// SceneId, the process's services (sound, model and texture caches, developer overlay) handed
// to every scene, the controls snapshot each update, and the frame's drawing through the frame
// pipeline (graphics/frame_pipeline.hpp).
#pragma once

#include <functional>
#include <memory>

#include "app/run_config.hpp"
#include "chara/controls.hpp"
#include "graphics/frame_pipeline.hpp"
#include "platform/settings/settings_table.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_base.hpp"

class SceneManager {
public:
    // The application becomes the host its scenes ask to end the program. Scenes are made by
    // the config's factory, and the services as the config says.
    explicit SceneManager(RunConfig config);
    explicit SceneManager(SceneFactory factory);
    ~SceneManager();

    // Light 0, the projection, the frame pipeline, the services, then the first scene.
    void Init(SceneId first = kSceneTitle);
    // The controls snapshot, then the scene's update with it; a different id replaces the scene
    // before this frame is drawn, and the new scene starts with the keys forgotten (see
    // Input::ForgetKeys).
    void Update();
    // Called in every Update right after the scene's own update, before any switch, with the
    // scene that just ran (null while there is no scene). Headless runs write their trace here.
    void SetUpdateObserver(std::function<void(const SceneBase*)> observer) { observer_ = std::move(observer); }
    // The whole frame, through the pipeline.
    void Draw();
    // Deletes the scene, then the services.
    void Release();
    // The player's settings the scenes use, when they changed: the volumes of the sound, the
    // look's feel of every controls snapshot. Between Init and Release.
    void ApplySettings(const platform::Settings& settings, platform::SettingChanges changed);
    // Between Init and Release.
    GameServices& services() { return *services_; }
    FramePipeline& pipeline() { return *pipeline_; }

    std::unique_ptr<SceneBase> scene;

private:
    RunConfig config_;
    std::unique_ptr<FramePipeline> pipeline_;
    std::unique_ptr<GameServices> services_;
    std::function<void(const SceneBase*)> observer_;
    LookFeel feel_;               // the player's look, handed to every update with the controls
    int updatesSinceDraw_ = 0;    // the drawn frame's animation steps
};
