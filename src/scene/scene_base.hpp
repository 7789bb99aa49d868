// The interface every scene implements. The scene manager calls Update (logic and input; returns
// the scene that should run next) once per update, 62.5 times a second, and once per drawn frame
// PreDraw (sets the view), Draw3D (inside the 3D pass) and Draw2D (inside the sprite batch). A
// machine that draws slowly runs several updates between two drawn frames. A headless run also asks each scene
// for its part of the per-frame trace and, at the end, for the run's result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/frame_pipeline.hpp"

namespace platform {
class TraceWriter;
}
struct Controls;
class GameServices;

// kSceneDemo is a game scene the pilot flies while nobody plays: the attract mode.
enum SceneId : int32_t { kSceneTitle = 0, kSceneGame = 1, kSceneDemo = 2 };

// What a headless run reports of a run at its end.
struct RunSummary {
    int64_t score = 0;
    bool runOver = false;
    bool goal = false;    // the run ended at the goal (not destroyed)
    int hitsTaken = 0;    // 0 ... 3
    int64_t gate = 0;     // the gate the craft headed for last
};

// A scene draws what a frame shows (FrameScene: PreDraw, Draw3D, Draw2D).
class SceneBase : public FrameScene {
public:
    // Returns its own sceneId to stay, the other id to be replaced before this frame is drawn.
    // The controls are this update's snapshot; the scene reads no device itself.
    virtual SceneId Update(const Controls& controls) = 0;
    // The scene's own fields of a trace line, written right after its update (the frame and the
    // scene's name are already written). Only what the frame's inputs decide, never a clock, so
    // the same inputs give the same trace.
    virtual void WriteTrace(platform::TraceWriter& trace) const { (void)trace; }
    // The score and state of the run the scene plays; none for a scene without a run.
    virtual RunSummary Summary() const { return {}; }

    SceneId sceneId = kSceneTitle;
    // The updates run since the last drawn frame (one, unless a slow frame was followed by more):
    // the drawing's own animations (the turning gates, the tunnel, the reticle's pulse) advance
    // by as many steps, so they keep time with the game.
    int drawSteps = 1;
};

// Makes the scene of an id with the process's services, which outlive it; null for an id that
// names no scene.
using SceneFactory = std::function<std::unique_ptr<SceneBase>(SceneId, GameServices&)>;
