// The run's phases.
#include "scene/run_state.hpp"

void RunState::End() {
    ended = true;
    if (phase == RunPhase::Play) phase = RunPhase::RunOver;
}

void RunState::CountAfterEnd() {
    ++endFrames;
    if (endFrames > kResultFrame) phase = RunPhase::Result;
}
