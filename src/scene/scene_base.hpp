// The interface every scene implements. The scene manager calls, once per frame: Update (logic
// and input; returns the scene that should run next), then PreDraw (sets the view), Draw3D
// (inside the 3D pass) and Draw2D (inside the sprite batch).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

enum SceneId : int32_t { kSceneTitle = 0, kSceneGame = 1 };

class SceneBase {
public:
    virtual ~SceneBase() = default;
    // Returns its own sceneId to stay, the other id to be replaced before this frame is drawn.
    virtual SceneId Update() = 0;
    virtual void Draw3D() = 0;
    virtual void Draw2D() = 0;
    virtual void PreDraw() = 0;

    SceneId sceneId = kSceneTitle;
};

// Makes the scene of an id; null for an id that names no scene.
using SceneFactory = std::function<std::unique_ptr<SceneBase>(SceneId)>;
