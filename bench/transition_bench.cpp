// The frame that builds the game scene, on the null render device: the loading and the game's
// own work without any drawing cost. Run from anywhere; it works in the game folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/graphics_device.hpp"
#include "platform/input/input.hpp"
#include "transition_frame.hpp"

namespace {

void BM_TransitionFrame(benchmark::State& state) {
    platform::ScriptedInput input;
    platform::SetInput(&input);
    transition_bench::MeasureTransition(state, [](SceneManager& manager) {
        manager.Update();
        manager.Draw();
    });
    platform::SetInput(nullptr);
}
BENCHMARK(BM_TransitionFrame)->Apply(transition_bench::ReadAheadCases);

void BM_GameSceneFiles(benchmark::State& state) {
    transition_bench::MeasureTransition(state, transition_bench::GetEveryGameSceneFile);
}
BENCHMARK(BM_GameSceneFiles)->Apply(transition_bench::ReadAheadCases);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    setenv("ALSOFT_DRIVERS", "null", 0);  // no sound card needed, and no noise
    if (chdir(KORVELIN_GAME_DIR) != 0) {
        std::fprintf(stderr, "transition_bench: cannot enter the game folder %s\n", KORVELIN_GAME_DIR);
        return 1;
    }
    GraphicsDevice::Instance().CreateNull(1280, 720);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    GraphicsDevice::Instance().Release();
    return 0;
}
