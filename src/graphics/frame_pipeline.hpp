// The frame's drawing, from the scene's view to the finished picture in the back buffer: the
// effects' per-frame parameters (the light, the view, the projection, the camera), one 3D pass
// into the back buffer and the glow target at once, the sprite pass, and the blurred glow added
// over the picture, five times as bright. Below full scale the 3D pass draws into a smaller
// picture with its own depth, which is stretched over the back buffer, depth and all, before the
// sprites; the sprites, the text and the boxes stay at full resolution.
#pragma once

#include <functional>

#include "graphics/texture.hpp"

class GameEffects;

// What a frame draws, in this order: the view first, then the 3D pass, then the sprites.
class FrameScene {
public:
    virtual ~FrameScene() = default;
    // Sets the view (and whatever the frame's parameters are taken from).
    virtual void PreDraw() = 0;
    // Inside the 3D pass: render target 0 the picture, 1 the glow.
    virtual void Draw3D() = 0;
    // Inside the sprite batch, over the 3D picture.
    virtual void Draw2D() = 0;
};

class FramePipeline {
public:
    // The glow target at the back buffer's size. The graphics device and the effects must exist,
    // and outlive the pipeline.
    explicit FramePipeline(GameEffects& effects);
    // The targets go; the blur, which belongs to the process, is back at full size.
    ~FramePipeline();
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // The 3D picture and its glow at this fraction of the back buffer (1, 0.75, 0.5). At 1 the
    // 3D pass draws straight into the back buffer, as it always has.
    void SetRenderScale(float scale);
    float renderScale() const { return renderScale_; }
    // The whole frame inside its own BeginScene/EndScene; without a scene, the cleared picture.
    void Draw(FrameScene* scene);

    // Called, when set, as each step of Draw ends ("clear", "3d", "stretch", "sprites", "blur",
    // "glow"): the frame benchmark's breakdown finishes the device's work there and times it.
    std::function<void(const char* step)> onDrawStep;

    Texture& glowTarget() { return glowTarget_; }
    Texture& sceneTarget() { return sceneTarget_; }  // below full scale only

private:
    void UploadFrameParameters();
    void Step(const char* step);

    GameEffects& effects_;
    Texture glowTarget_;
    Texture sceneTarget_;
    float renderScale_ = 1.0f;
};
