// The render scale `auto` chooses: on a graphics card the picture is drawn at full size; on a
// software renderer (the CPU draws every pixel) the game tries 1, then 0.75, then 0.5 during the
// title's first second and keeps the largest scale whose frames fit.
#pragma once

#include <string_view>

// llvmpipe, softpipe or swrast: the driver draws on the CPU.
bool IsSoftwareRenderer(std::string_view rendererName);

class AutoRenderScale {
public:
    static constexpr float kScales[] = {1.0f, 0.75f, 0.5f};
    // A frame fits in two updates' time: the game draws at least 31 frames a second.
    static constexpr double kFitMs = 32.0;
    // Per scale: the first frames after a change are not measured (new targets, first uploads),
    // the next ones are.
    static constexpr int kWarmUpFrames = 2, kMeasuredFrames = 3;

    // A drawn frame took `ms` at scale(). Returns true once the choice is made.
    bool Feed(double ms);
    float scale() const { return kScales[index_]; }
    bool settled() const { return settled_; }

private:
    int index_ = 0;
    int frames_ = 0;
    double measuredMs_ = 0.0;
    bool settled_ = false;
};
