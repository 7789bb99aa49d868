// The title screen: an endless tunnel of title models flying at a fixed camera and turning
// slowly, the backdrop, the logo, the start prompt and the version. Space zooms and fades to
// white and then asks for the game; Escape offers to quit. Left alone for 30 s, it hands over to
// the demo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scene/scene_base.hpp"

class SceneTitle : public SceneBase {
public:
    static constexpr float kModelSpacing = 163.4f;  // length of one tunnel segment
    static constexpr int kModelCount = 20;

    // The tunnel goes on turning where the last title left it (the services keep its angle).
    explicit SceneTitle(GameServices& services);
    SceneId Update(const Controls& controls) override;
    void Draw3D() override;
    void Draw2D() override;
    void PreDraw() override {}
    void WriteTrace(platform::TraceWriter& trace) const override;

    float fieldOfView = 80.0f;  // degrees
    bool started = false;       // Space was pressed: the transition runs
    int fade = 0;               // alpha of the white veil
    float scroll = 0.0f;        // how far the tunnel has moved towards the camera
    // Updates in a row with nothing pressed and the cursor still: at kAttractAfter (30 s) the
    // pilot flies a demo run.
    static constexpr int kAttractAfter = 1875;
    int idle = 0;
    std::optional<int64_t> best;  // the course's best score kept, shown at the bottom left
    std::string crashReport;      // an earlier run's crash report, named at the top of this title

private:
    void SetProjection() const;

    GameServices& services_;
    bool prefetchStarted_ = false;  // the game's files have been asked for
    bool looked_ = false;           // lastLook_ holds the cursor of the last update
    int lastLookX_ = 0, lastLookY_ = 0;
};
