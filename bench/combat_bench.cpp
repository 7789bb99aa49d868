// The CPU cost of the busiest moment of a run on the null device: every enemy of the generated
// course chasing with its 40 units, 20 shots in flight. First the characters and the shot pool
// alone, as the game scene drives them, split per part; then the game scene's whole frame (its
// update and the frame's draw submission through the scene manager). The moment is put back
// before every measured frame, so each one measures the same work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/scene_manager.hpp"
#include "busy_moment.hpp"
#include "chara/controls.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/null/null_render_device.hpp"
#include "scene/scene_factory.hpp"
#include "scene/scene_game.hpp"

namespace {

SceneManager* gManager = nullptr;
BusyMoment* gMoment = nullptr;

platform::NullRenderDevice& NullDevice() {
    return static_cast<platform::NullRenderDevice&>(*GraphicsDevice::Instance().device);
}

// The untimed part of every iteration: the moment back, the null device's record emptied.
void PutBack(benchmark::State& state) {
    state.PauseTiming();
    gMoment->Restore();
    NullDevice().ClearDraws();
    state.ResumeTiming();
}

// The button held, nothing else, as at the moment.
Controls Held() {
    Controls c;
    c.fire = true;
    return c;
}

void UpdateCharacter(SceneGame& s, size_t i) {
    benchmark::DoNotOptimize(s.characters[i]->Update({s.mapWorld(), *s.bullets, s.player(), &s.run().score, s.run().lives, Held()}));
}

void CountUnits(benchmark::State& state) {
    state.counters["units"] = LiveUnits(gMoment->scene());
    state.counters["shots"] = ActiveShots(gMoment->scene());
}

// Every character (the player first) and then the pool, as the scene's update runs them.
void BM_CharactersAndPool(benchmark::State& state) {
    SceneGame& s = gMoment->scene();
    CountUnits(state);
    for (auto _ : state) {
        PutBack(state);
        for (size_t i = 0; i < s.characters.size(); ++i) UpdateCharacter(s, i);
        s.bullets->Update(s.weapon->world, s.mapWorld(), true, s.run().ended);
    }
}
BENCHMARK(BM_CharactersAndPool)->Unit(benchmark::kMicrosecond);

void BM_Player(benchmark::State& state) {
    SceneGame& s = gMoment->scene();
    for (auto _ : state) {
        PutBack(state);
        UpdateCharacter(s, 0);
    }
}
BENCHMARK(BM_Player)->Unit(benchmark::kMicrosecond);

// What one enemy's update costs, in three layers: the lead point alone (every unit taken out),
// with its chain following (no shot in the pool), and with the shot tests against the full pool.
enum class EnemyPart { Flight, Units, Shots };

void BM_Enemy(benchmark::State& state, EnemyPart part) {
    SceneGame& s = gMoment->scene();
    const size_t k = size_t(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        gMoment->Restore();
        if (part == EnemyPart::Flight)
            for (EnemyUnit& unit : static_cast<Enemy&>(*s.characters[k]).units) unit.alive = false;
        if (part != EnemyPart::Shots)
            for (Shot& shot : s.bullets->shots) shot.active = false;
        state.ResumeTiming();
        UpdateCharacter(s, k);
    }
}
BENCHMARK_CAPTURE(BM_Enemy, flight, EnemyPart::Flight)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Enemy, flight_and_units, EnemyPart::Units)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Enemy, with_shot_tests, EnemyPart::Shots)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);

void BM_Pool(benchmark::State& state) {
    SceneGame& s = gMoment->scene();
    CountUnits(state);
    for (auto _ : state) {
        PutBack(state);
        s.bullets->Update(s.weapon->world, s.mapWorld(), true, s.run().ended);
    }
}
BENCHMARK(BM_Pool)->Unit(benchmark::kMicrosecond);

// The draw calls of one frame: every character's Draw and the pool's Draw, recorded by the
// null device.
void BM_CharactersAndPoolDraw(benchmark::State& state) {
    SceneGame& s = gMoment->scene();
    platform::RenderDevice& d = *GraphicsDevice::Instance().device;
    for (auto _ : state) {
        PutBack(state);
        d.BeginScene();
        for (auto& c : s.characters) c->Draw();
        s.bullets->Draw();
        d.EndScene();
    }
    state.counters["draws"] = double(NullDevice().draws().size());
}
BENCHMARK(BM_CharactersAndPoolDraw)->Unit(benchmark::kMicrosecond);

// The game scene's whole frame of CPU work: SceneGame::Update through the manager, then the
// frame's draw pipeline (3D pass, sprites, glow) as submitted to the device.
void BM_GameSceneFrame(benchmark::State& state) {
    for (auto _ : state) {
        PutBack(state);
        gManager->Update();
        gManager->Draw();
    }
    state.counters["draws"] = double(NullDevice().draws().size());
    CountUnits(state);
}
BENCHMARK(BM_GameSceneFrame)->Unit(benchmark::kMicrosecond);

void BM_GameSceneUpdate(benchmark::State& state) {
    for (auto _ : state) {
        PutBack(state);
        gManager->Update();
    }
}
BENCHMARK(BM_GameSceneUpdate)->Unit(benchmark::kMicrosecond);

void BM_GameSceneDraw(benchmark::State& state) {
    for (auto _ : state) {
        PutBack(state);
        gManager->Draw();
    }
}
BENCHMARK(BM_GameSceneDraw)->Unit(benchmark::kMicrosecond);

// The two clears that open every frame (back buffer, glow target). The null device fills its
// picture memory for them, which a real device leaves to the graphics card: this part of the
// figures above is the stand-in's, not the game's.
void BM_NullDeviceFrameClears(benchmark::State& state) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    platform::RenderDevice& d = *gd.device;
    for (auto _ : state) {
        d.SetRenderTarget(0, gd.backBufferSurface);
        d.Clear(platform::kClearTarget | platform::kClearZBuffer | platform::kClearStencil, 0xFF000000, 1.0f, 0);
        gManager->pipeline().glowTarget().SetAsRenderTarget(0);
        d.Clear(platform::kClearTarget, 0xFF000000, 1.0f, 0);
    }
    d.SetRenderTarget(0, gd.backBufferSurface);
}
BENCHMARK(BM_NullDeviceFrameClears)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    setenv("ALSOFT_DRIVERS", "null", 0);  // the music plays to no sound card
    if (chdir(KORVELIN_GAME_DIR) != 0) {
        std::fprintf(stderr, "combat_bench: cannot enter the game folder %s\n", KORVELIN_GAME_DIR);
        return 1;
    }
    GraphicsDevice& gd = GraphicsDevice::Instance();
    gd.CreateNull(1280, 720);
    gd.SetDefaultStates();
    GameEffects::Instance().Create();
    int status = 0;
    {
        SceneManager manager(CreateGameScene);
        manager.Init();
        BusyMoment moment;
        std::string why;
        if (moment.Make(manager, &why)) {
            gManager = &manager;
            gMoment = &moment;
            std::fprintf(stderr, "combat_bench: the moment after %d frames: %d live units, %d shots in flight\n",
                         moment.framesPlayed, LiveUnits(moment.scene()), ActiveShots(moment.scene()));
            const SceneGame& s = moment.scene();
            for (size_t i = 1; i < s.characters.size(); ++i)
                std::fprintf(stderr, "combat_bench: enemy %zu's lead point %.0f from the player\n", i,
                             double(Vec3Length(s.characters[i]->world.Row(3) - s.player().world.Row(3))));
            benchmark::RunSpecifiedBenchmarks();
        } else {
            std::fprintf(stderr, "combat_bench: %s\n", why.c_str());
            status = 1;
        }
        platform::SetInput(nullptr);
        manager.Release();
    }
    benchmark::Shutdown();
    GameEffects::Instance().Release();
    gd.Release();
    return status;
}
