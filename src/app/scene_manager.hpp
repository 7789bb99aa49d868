// Owns the current scene and runs every frame's update and draw for it: scene switching by
// SceneId, the process's services (sound, model and texture caches, developer overlay) handed
// to every scene, the controls snapshot each update, and the frame's draw pipeline: one 3D pass
// into the back buffer (or a smaller picture, see SetRenderScale) and the glow target at once,
// the sprite pass, and the blurred glow added over the picture.
#pragma once

#include <functional>
#include <memory>

#include "chara/controls.hpp"
#include "graphics/texture.hpp"
#include "scene/game_services.hpp"
#include "scene/scene_base.hpp"

class SceneManager {
public:
    // The application becomes the host its scenes ask to end the program.
    explicit SceneManager(SceneFactory factory);
    ~SceneManager();

    // Light 0, the projection, the glow target, the services, then the first scene.
    void Init(SceneId first = kSceneTitle);
    // The controls snapshot, then the scene's update with it; a different id replaces the scene
    // before this frame is drawn, and the new scene starts with the keys forgotten (see
    // Input::ForgetKeys).
    void Update();
    // Called in every Update right after the scene's own update, before any switch, with the
    // scene that just ran (null while there is no scene). Headless runs write their trace here.
    void SetUpdateObserver(std::function<void(const SceneBase*)> observer) { observer_ = std::move(observer); }
    // The whole frame inside its own BeginScene/EndScene.
    void Draw();
    // Deletes the scene, then the services.
    void Release();
    // Between Init and Release.
    GameServices& services() { return *services_; }
    // The 3D picture and its glow are drawn at this fraction of the back buffer (1, 0.75, 0.5)
    // and stretched over it; the sprites, the text and the boxes stay at full resolution. At 1
    // the 3D pass draws straight into the back buffer, as it always has.
    void SetRenderScale(float scale);
    float renderScale() const { return renderScale_; }
    // Called, when set, as each step of Draw ends ("clear", "3d", "stretch", "sprites", "blur",
    // "glow"): the frame benchmark's breakdown finishes the device's work there and times it.
    std::function<void(const char* step)> onDrawStep;

    std::unique_ptr<SceneBase> scene;
    Texture glowTarget;
    // The player's look, handed to every update with the controls.
    LookFeel feel;
    Texture sceneTarget;  // below full scale only: the 3D picture with its own depth

private:
    void UploadFrameParameters();
    void Step(const char* step);
    SceneFactory factory_;
    std::unique_ptr<GameServices> services_;
    std::function<void(const SceneBase*)> observer_;
    int updatesSinceDraw_ = 0;  // the drawn frame's animation steps
    float renderScale_ = 1.0f;
};
