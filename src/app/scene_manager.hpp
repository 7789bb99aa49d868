// Owns the current scene and runs every frame's update and draw for it: scene switching by
// SceneId, the process-wide managers (sound, model and texture caches, developer overlay), and
// the frame's draw pipeline: one 3D pass into the back buffer and the glow target at once, the
// sprite pass, and the blurred glow added over the picture.
#pragma once

#include <memory>

#include "scene/scene_base.hpp"
#include "graphics/texture.hpp"

class SceneManager {
public:
    // The application becomes the host its scenes ask to end the program.
    explicit SceneManager(SceneFactory factory);
    ~SceneManager();

    // Light 0, the projection, the glow target, the title scene, then the four managers.
    void Init();
    // The scene's update; a different id replaces the scene before this frame is drawn, and the
    // new scene starts with the keys forgotten (see Input::ForgetKeys).
    void Update();
    // The whole frame inside its own BeginScene/EndScene.
    void Draw();
    // Deletes the scene and the managers.
    void Release();

    std::unique_ptr<SceneBase> scene;
    Texture glowTarget;

private:
    void UploadFrameParameters();
    SceneFactory factory_;
};
