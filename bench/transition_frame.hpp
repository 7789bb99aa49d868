// The frame in which the title gives way to the game: the scene manager's update builds the
// game scene and the same frame draws it, with every model and picture that frame asks the
// caches for. The window stands still for as long as this frame takes.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "app/scene_manager.hpp"
#include "scene/game_assets.hpp"
#include "scene/scene_factory.hpp"

namespace transition_bench {

// A title that asks for the game on its first update.
class LeavingTitle : public SceneBase {
public:
    LeavingTitle() { sceneId = kSceneTitle; }
    SceneId Update(const Controls&) override { return kSceneGame; }
    void Draw3D() override {}
    void Draw2D() override {}
    void PreDraw() override {}
};

inline std::unique_ptr<SceneBase> MakeScene(SceneId id, GameServices& services) {
    if (id == kSceneTitle) return std::make_unique<LeavingTitle>();
    return CreateGameScene(id, services);
}

// Times `frame(manager)` once per iteration, with the caches empty at the start of each as on
// the first run of a session. Argument 0: nothing read ahead, everything loads in the frame.
// Argument 1: the title had time to read the game's files ahead (it has its two-second zoom
// and fade at least), so the frame only puts them on the device.
template <class Frame>
void MeasureTransition(benchmark::State& state, Frame frame) {
    const bool readAhead = state.range(0) != 0;
    for (auto _ : state) {
        SceneManager manager(MakeScene);
        manager.Init();
        if (readAhead) {
            AssetCaches& assets = manager.services().assets();
            PrefetchGameScene(assets);
            assets.models.WaitForPrefetch();
            assets.textures.WaitForPrefetch();
        }
        const auto start = std::chrono::steady_clock::now();
        frame(manager);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        manager.Release();
    }
}

// The two cases above, each timed over a few whole transitions.
inline void ReadAheadCases(benchmark::internal::Benchmark* b) {
    b->ArgName("readAhead")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
}

// Every model and picture on the game scene's list asked for at once: what the frame costs
// when the game scene uses all of them in its first frame, whatever the scene looks like.
inline void GetEveryGameSceneFile(SceneManager& manager) {
    AssetCaches& assets = manager.services().assets();
    for (const std::string& name : GameSceneModels()) assets.models.Get(name);
    for (const std::string& name : GameScenePictures()) assets.textures.Get(name);
}

}  // namespace transition_bench
