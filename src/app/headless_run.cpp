// The headless run's loop, its script, its trace and its summary.
#include "app/headless_run.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "platform/trace/trace_writer.hpp"
#include "platform/window/dialogs.hpp"

using namespace platform;

namespace {
constexpr int kWidth = 1280, kHeight = 720;  // the back buffer, as the windowed game makes it
}  // namespace

bool HeadlessRun::Prepare(const LaunchOptions& options, std::string* error) {
    frames_ = options.frames;
    endAfterRun_ = options.autopilot && !options.frames;
    start_ = options.start;
    if (!options.inputFile.empty()) {
        platform::InputScript script;
        if (!LoadInputScript(options.inputFile, options.inputFile, &script, error)) return false;
        player_ = ScriptPlayer(std::move(script));
    }
    return options.traceFile.empty() || trace_.Open(options.traceFile, error);
}

void ReportQuestion(const std::string& when, const DialogRequest& r, DialogAnswer answer, const char* how) {
    const char* shown = r.buttons == DialogButtons::Ok ? "" : answer == DialogAnswer::Yes ? " -> yes" : " -> no";
    std::fprintf(stderr, "korvelin: %s: %s: %s%s%s\n", when.c_str(), r.caption.c_str(), r.text.c_str(), shown, how);
}

DialogAnswer HeadlessRun::Answer(const DialogRequest& r) {
    const char* how = "";
    const DialogAnswer answer = player_.Answer(r, &how);
    // Nobody sees the box, so it goes to standard error with its answer.
    ReportQuestion(running_ ? "frame " + std::to_string(frame_) : std::string("start-up"), r, answer, how);
    return answer;
}

int HeadlessRun::Run() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory("data", ec) || !fs::is_directory("Shader", ec)) {
        std::fprintf(stderr, "korvelin: cannot start: no data/ and Shader/ in %s or beside the program\n",
                     fs::current_path(ec).c_str());
        return kFailed;
    }
    // No sound device is opened: the sound manager finds no output and runs silent.
    setenv("ALSOFT_DRIVERS", "headless-none", 1);

    Application& app = Application::Instance();
    app.paceFrames = false;
    // The cursor starts where the game would centre it: the middle of the screen.
    input_.SetCursor({kWidth / 2, kHeight / 2});
    SetInput(&input_);
    SetDialogHandler([this](const DialogRequest& r) { return Answer(r); });

    std::string error;
    if (!app.InitHeadless(kWidth, kHeight, &error)) {
        std::fprintf(stderr, "korvelin: cannot start: %s\n", error.c_str());
        SetDialogHandler(nullptr);
        SetInput(nullptr);
        app.Shutdown();
        return kFailed;
    }

    RunSummary lastRun;
    bool ranGame = false;
    SceneManager manager(app.sceneFactory);
    manager.SetUpdateObserver([&](const SceneBase* scene) {
        if (scene && scene->sceneId == kSceneGame) {
            lastRun = scene->Summary();
            ranGame = true;
        }
        trace_.Write(frame_, scene, false);
    });
    manager.Init(start_);
    running_ = true;
    const auto begin = std::chrono::steady_clock::now();
    for (frame_ = 0; !frames_ || frame_ < *frames_; ++frame_) {
        if (app.loopEnded) break;  // a scene ended the game
        if (!player_.Apply(frame_, input_)) break;  // the recorded run was closed here
        app.RunFrame(manager);
        // The pilot's run is over once the title is back.
        if (endAfterRun_ && ranGame && manager.scene && manager.scene->sceneId == kSceneTitle) {
            ++frame_;
            break;
        }
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
    running_ = false;
    const char* scene = manager.scene ? SceneName(manager.scene->sceneId) : nullptr;
    manager.Release();
    app.Shutdown();
    SetDialogHandler(nullptr);

    if (player_.answersLeft() > 0)
        std::fprintf(stderr, "korvelin: %zu answer(s) of the script found no question to answer\n",
                     player_.answersLeft());
    int status = 0;
    if (!trace_.Close(&error)) {
        std::fprintf(stderr, "korvelin: %s\n", error.c_str());
        status = kFailed;
    }
    TraceWriter summary(true);
    summary.Int("frames", frame_);
    if (scene)
        summary.String("scene", scene);
    else
        summary.Null("scene");
    summary.Int("score", lastRun.score);
    summary.Bool("runOver", lastRun.runOver);
    summary.Bool("goal", lastRun.goal);
    summary.Int("hits", lastRun.hitsTaken);
    summary.Int("gate", lastRun.gate);
    // Wall-clock time, so it is only here and never in the trace.
    const double msPerFrame = frame_ > 0 ? elapsed.count() / double(frame_) : 0.0;
    summary.Float("msPerFrame", float(std::round(msPerFrame * 1000.0) / 1000.0));
    const std::string line = summary.TakeLine();
    std::fwrite(line.data(), 1, line.size(), stdout);
    return status;
}
