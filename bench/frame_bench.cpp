// One frame of the game on the OpenGL device under the current X display, without the pacing
// sleep: events drained, frame counter, UI frame, scene update, the draw pipeline, listener,
// overlay pass and Present. An empty scene shows the frame's fixed cost; the title scene what
// the first thing a player sees costs; the busy game frame what play costs at its heaviest;
// the title and the busy frame again with the 3D picture drawn at 0.75 and 0.5 of the window's
// resolution, and the busy frame step by step (clear, 3D, stretch, sprites, blur, glow, the
// rest). On a graphics card all must stay below the 16 ms a frame may take; on a software
// renderer the game keeps real time by running several updates per drawn frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "app/ui_binding.hpp"
#include "busy_moment.hpp"
#include "scene/scene_game.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input.hpp"
#include "scene/scene_factory.hpp"
#include "transition_frame.hpp"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// A scene that draws nothing: what is left is the manager's pipeline and the device.
class EmptyScene : public SceneBase {
public:
    explicit EmptyScene(SceneId id) { sceneId = id; }
    SceneId Update(const Controls&) override { return sceneId; }
    void Draw3D() override {}
    void Draw2D() override {}
    void PreDraw() override {}
};

// Microseconds of wall-clock time over at least two seconds: the frame's real length.
void WallClock(benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0); }

std::unique_ptr<SceneBase> MakeEmptyScene(SceneId id, GameServices&) { return std::make_unique<EmptyScene>(id); }

// The loop's frame as the game runs it, minus the sleep that paces it to 16 ms.
void RunUnpacedFrame(Application& app, SceneManager& manager) {
    platform::WindowEvent event;
    while (app.window->PollEvent(&event)) app.WindowProc(event);
    app.config.paceFrames = false;
    app.RunFrame(manager);
}

void BM_Frame(benchmark::State& state, SceneFactory factory, float scale = 1.0f) {
    Application& app = Application::Instance();
    SceneManager manager(std::move(factory));
    manager.Init();
    manager.pipeline().SetRenderScale(scale);
    RunUnpacedFrame(app, manager);  // first-use costs (texture loads, shader warm-up) stay out
    for (auto _ : state) RunUnpacedFrame(app, manager);
    manager.Release();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Only clearing the back buffer and presenting it: the fixed cost of getting a 1280 x 720
// picture to the X server, which the frame above includes.
void BM_ClearAndPresent(benchmark::State& state) {
    platform::RenderDevice& d = *GraphicsDevice::Instance().device;
    for (auto _ : state) {
        d.Clear(platform::kClearTarget | platform::kClearZBuffer | platform::kClearStencil, 0xFF000000, 1.0f, 0);
        d.BeginScene();
        d.EndScene();
        d.Present(kWidth, kHeight);
    }
}

// The glow post-process alone, as the frame runs it: the glow target reduced to half size,
// blurred three times across and down, and added over the back buffer. Finish makes the
// software rasteriser's work part of the figure.
void BM_PostProcess(benchmark::State& state) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    platform::RenderDevice& d = *gd.device;
    Texture glow;
    glow.CreateTarget(kWidth, kHeight, 1, TextureUsage::RenderTarget);
    for (auto _ : state) {
        d.BeginScene();
        GameEffects::Instance().blurFilter.Blur(glow);
        d.SetRenderState(platform::RenderState::DestBlend, platform::Blend::One);
        GameEffects::Instance().blurFilter.DrawFullScreen(GameEffects::Instance().blurFilter.targets[1], 0, 0, kWidth, kHeight, {5, 5, 5, 5});
        d.SetRenderState(platform::RenderState::DestBlend, platform::Blend::InvSrcAlpha);
        d.EndScene();
        d.Finish();
    }
}
BENCHMARK(BM_PostProcess)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2.0);

// The whole frame in which the title gives way to the game, as the window lives through it:
// building the game scene, its first draw with the uploads to the device, and Present. A
// frame of the game drawn after it is the part of this that is not loading.
void BM_TransitionFrame(benchmark::State& state) {
    Application& app = Application::Instance();
    transition_bench::MeasureTransition(state, [&](SceneManager& manager) {
        RunUnpacedFrame(app, manager);
        GraphicsDevice::Instance().device->Finish();
    });
}
BENCHMARK(BM_TransitionFrame)->Apply(transition_bench::ReadAheadCases);

// Every model and picture on the game scene's list put on the OpenGL device at once.
void BM_GameSceneFiles(benchmark::State& state) {
    transition_bench::MeasureTransition(state, [](SceneManager& manager) {
        transition_bench::GetEveryGameSceneFile(manager);
        GraphicsDevice::Instance().device->Finish();
    });
}
BENCHMARK(BM_GameSceneFiles)->Apply(transition_bench::ReadAheadCases);

// A frame of the game scene once it is running, for comparison with the one above.
void BM_GameFrame(benchmark::State& state) {
    Application& app = Application::Instance();
    SceneManager manager(transition_bench::MakeScene);
    manager.Init();
    RunUnpacedFrame(app, manager);  // the transition, with its loads, stays out
    for (auto _ : state) {
        RunUnpacedFrame(app, manager);
        GraphicsDevice::Instance().device->Finish();
    }
    manager.Release();
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Each twice: CPU time of the main thread, and of the whole process (the software rasteriser
// draws on threads of its own). Iterations are chosen by wall-clock time, since the frame's
// real length is what the 16 ms budget is about.
#define FRAME_BENCHMARK(name, factory)                                                           \
    BENCHMARK_CAPTURE(BM_Frame, name, factory)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0); \
    BENCHMARK_CAPTURE(BM_Frame, name##_process_cpu, factory)                                    \
        ->Unit(benchmark::kMicrosecond)                                                          \
        ->UseRealTime()                                                                          \
        ->MeasureProcessCPUTime()                                                                \
        ->MinTime(2.0)

FRAME_BENCHMARK(empty_scene, MakeEmptyScene);
FRAME_BENCHMARK(title_scene, CreateGameScene);
// The title with its 3D picture and glow drawn at three quarters and at half the resolution, as
// a software renderer's `auto` render scale may choose.
BENCHMARK_CAPTURE(BM_Frame, title_scene_scale_0_75, CreateGameScene, 0.75f)->Apply(WallClock);
BENCHMARK_CAPTURE(BM_Frame, title_scene_scale_0_5, CreateGameScene, 0.5f)->Apply(WallClock);

// Where the frame's time goes: the device's work is finished at the end of each step of the draw
// and timed, so the steps no longer overlap the next one's submission; the counters are the
// milliseconds of each step, "rest" the update, the overlay and Present.
class DrawStepTimes {
public:
    explicit DrawStepTimes(SceneManager& manager) {
        manager.pipeline().onDrawStep = [this](const char* step) { Mark(step); };
    }
    void Begin() { last_ = Clock::now(); }
    void End() {
        GraphicsDevice::Instance().device->Finish();
        Mark("rest");
    }
    void Report(benchmark::State& state) const {
        for (const auto& [step, seconds] : seconds_)
            state.counters[step] = benchmark::Counter(seconds * 1000.0 / double(state.iterations()));
    }

private:
    using Clock = std::chrono::steady_clock;
    void Mark(const char* step) {
        GraphicsDevice::Instance().device->Finish();
        const Clock::time_point now = Clock::now();
        seconds_[step] += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }
    std::map<std::string, double> seconds_;
    Clock::time_point last_;
};

// The game at its busiest: every enemy chasing with all 200 units, 20 shots in flight, the left
// button held. The moment is put back before each frame (untimed), so every frame draws it. The
// same frame with the units taken out shows what drawing the chains costs; with `steps`, the
// frame's time step by step.
void BM_BusyGameFrame(benchmark::State& state, bool units, float scale = 1.0f, bool steps = false) {
    Application& app = Application::Instance();
    SceneManager manager(CreateGameScene);
    manager.Init();
    manager.pipeline().SetRenderScale(scale);
    BusyMoment moment;
    std::string why;
    const auto putBack = [&] {
        moment.Restore();
        if (!units)
            for (auto& c : moment.scene().characters)
                if (auto* enemy = dynamic_cast<Enemy*>(c.get()))
                    for (EnemyUnit& unit : enemy->units) unit.alive = false;
    };
    if (!moment.Make(manager, &why)) {
        state.SkipWithError(why.c_str());
    } else {
        putBack();
        RunUnpacedFrame(app, manager);  // first-use costs stay out
        std::optional<DrawStepTimes> times;
        if (steps) times.emplace(manager);
        for (auto _ : state) {
            state.PauseTiming();
            putBack();
            state.ResumeTiming();
            if (times) times->Begin();
            RunUnpacedFrame(app, manager);
            if (times) times->End();
        }
        state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
        if (times) times->Report(state);
    }
    platform::SetInput(&app.window->input());
    manager.Release();
}
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game, true)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_process_cpu, true)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_scale_0_75, true, 0.75f)->Apply(WallClock);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_scale_0_5, true, 0.5f)->Apply(WallClock);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_steps, true, 1.0f, true)->Apply(WallClock);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_steps_scale_0_5, true, 0.5f, true)->Apply(WallClock);
BENCHMARK_CAPTURE(BM_BusyGameFrame, busy_game_without_units, false)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_ClearAndPresent)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2.0);

// The window, device, default states, effects and UI binding, as start-up makes them, but
// without the full-screen question: the benchmark always runs windowed.
enum class Start { Ready, NoDisplay, NoDevice };

Start StartGraphics(std::string* why) {
    Application& app = Application::Instance();
    app.window = platform::Window::Create("-KORVELIN-", kWidth, kHeight, why);
    if (!app.window) return Start::NoDisplay;
    platform::SetInput(&app.window->input());
    GraphicsDevice& gd = GraphicsDevice::Instance();
    if (!gd.Create(*app.window, kWidth, kHeight, SurfaceFormat::X8R8G8B8, false)) {
        *why = "no usable OpenGL 3.3 device";
        return Start::NoDevice;
    }
    gd.SetDefaultStates();
    GameEffects::Instance().simpleShader.Create();
    GameEffects::Instance().modelShader.Create();
    GameEffects::Instance().blurFilter.Create();
    app.window->Show();
    if (!UiBinding::Init(*app.window)) std::fprintf(stderr, "frame_bench: the UI binding did not start\n");
    return Start::Ready;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "frame_bench: skipped: no DISPLAY (run it under X, for example Xvfb)\n");
        return 0;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);  // no sound card needed, and no noise
    // The X display named by DISPLAY, never SDL's invisible stand-in when it cannot be opened.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    // Effects and pictures are named relative to the game folder.
    if (chdir(KORVELIN_GAME_DIR) != 0) {
        std::fprintf(stderr, "frame_bench: cannot enter the game folder %s\n", KORVELIN_GAME_DIR);
        return 1;
    }
    // Boxes (an effect that fails to compile) are reported here and answered with their default.
    platform::SetDialogHandler([](const platform::DialogRequest& r) {
        std::fprintf(stderr, "frame_bench: box \"%s\": %s\n", r.caption.c_str(), r.text.c_str());
        if (r.buttons == platform::DialogButtons::Ok) return platform::DialogAnswer::Ok;
        return r.defaultYes ? platform::DialogAnswer::Yes : platform::DialogAnswer::No;
    });

    std::string why;
    const Start start = StartGraphics(&why);
    if (start != Start::Ready) {
        std::fprintf(stderr, "frame_bench: %s: %s\n", start == Start::NoDisplay ? "skipped" : "failed", why.c_str());
        Application::Instance().Shutdown();
        return start == Start::NoDisplay ? 0 : 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Application::Instance().Shutdown();
    return 0;
}
