// Choosing the render scale from the first frames' times.
#include "app/render_scale.hpp"

#include <iterator>

bool IsSoftwareRenderer(std::string_view name) {
    for (std::string_view soft : {"llvmpipe", "softpipe", "swrast"})
        if (name.find(soft) != std::string_view::npos) return true;
    return false;
}

bool AutoRenderScale::Feed(double ms) {
    if (settled_) return true;
    ++frames_;
    if (frames_ <= kWarmUpFrames) return false;
    measuredMs_ += ms;
    if (frames_ < kWarmUpFrames + kMeasuredFrames) return false;
    const bool fits = measuredMs_ / kMeasuredFrames <= kFitMs;
    if (fits || index_ + 1 == int(std::size(kScales))) {
        settled_ = true;
        return true;
    }
    ++index_;
    frames_ = 0;
    measuredMs_ = 0.0;
    return false;
}
