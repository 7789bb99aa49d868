// The headless run's loop, its script, its trace and its summary.
#include "app/headless_run.hpp"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/application.hpp"
#include "app/game_folder.hpp"
#include "app/scene_manager.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/crash/crash_report.hpp"
#include "platform/i18n/language.hpp"
#include "platform/null/null_render_device.hpp"
#include "scene/scene_game.hpp"
#include "scene/scene_title.hpp"
#include "platform/trace/trace_writer.hpp"
#include "platform/window/dialogs.hpp"
#include "ui/question_handler.hpp"

using namespace platform;

namespace {
constexpr int kWidth = 1280, kHeight = 720;  // the back buffer, as the windowed game makes it
}  // namespace

bool HeadlessRun::Prepare(const LaunchOptions& options, std::string* error) {
    frames_ = options.frames;
    start_ = options.start;
    courseGiven_ = !options.courseFile.empty();
    if (!options.inputFile.empty()) {
        platform::InputScript script;
        if (!LoadInputScript(options.inputFile, options.inputFile, &script, error)) return false;
        player_ = ScriptPlayer(std::move(script));
        scriptQuits_ = player_.HasQuit();
    }
    if (!options.drawLogFile.empty()) {
        drawLogName_ = options.drawLogFile;
        drawLog_.reset(std::fopen(options.drawLogFile.c_str(), "w"));
        if (!drawLog_) {
            *error = "cannot create '" + options.drawLogFile + "': " + std::strerror(errno);
            return false;
        }
    }
    return options.traceFile.empty() || trace_.Open(options.traceFile, error);
}

bool HeadlessRun::RunHasEnded(const SceneBase* scene, bool& played) const {
    if (!scene) return true;
    // A recording ends where it was closed, after as many runs as it holds.
    if (scriptQuits_) return false;
    if (scene->sceneId == kSceneGame) {
        played = true;
        return false;
    }
    if (played) return true;  // back on the title after the run
    // On the title, waiting for Space, with nothing left in the script to press it.
    const auto* title = dynamic_cast<const SceneTitle*>(scene);
    return title && !title->started && player_.Finished();
}

DialogAnswer HeadlessRun::Answer(const DialogRequest& r) {
    const char* how = "";
    const DialogAnswer answer = player_.Answer(r, &how);
    // Nobody sees the box, so it goes to standard error with its answer.
    ReportQuestion(running_ ? "frame " + std::to_string(frame_) : std::string("start-up"), r, answer, how);
    return answer;
}

int HeadlessRun::Run() {
    std::error_code ec;
    if (const std::string missing = MissingGameFiles(std::filesystem::current_path(ec), !courseGiven_); !missing.empty()) {
        std::fprintf(stderr, Tr("korvelin: cannot start: %s\n"), missing.c_str());
        return kFailed;
    }
    Application& app = Application::Instance();
    app.config.paceFrames = false;
    app.config.soundDevice = false;
    // The cursor starts where the game would centre it: the middle of the screen.
    input_.SetCursor({kWidth / 2, kHeight / 2});
    SetInput(&input_);
    SetDialogHandler([this](const DialogRequest& r) { return Answer(r); });

    std::string error;
    if (!app.InitHeadless(kWidth, kHeight, &error)) {
        std::fprintf(stderr, Tr("korvelin: cannot start: %s\n"), error.c_str());
        SetDialogHandler(nullptr);
        SetInput(nullptr);
        app.Shutdown();
        return kFailed;
    }

    RunSummary lastRun;
    SceneManager manager(app.config);
    manager.SetUpdateObserver([&](const SceneBase* scene) {
        if (scene && scene->sceneId == kSceneGame) lastRun = scene->Summary();
        trace_.Write(frame_, frame_, scene, false);  // every update is drawn
    });
    manager.Init(start_);
    // The course is read and checked before the first frame, whatever the first scene: a course
    // that cannot be played fails the run, rather than being said in a box nobody sees.
    if (const std::string problem = CheckGameCourse(manager.services().assets().models); !problem.empty()) {
        std::fprintf(stderr, "korvelin: %s\n", problem.c_str());
        manager.Release();
        app.Shutdown();
        SetDialogHandler(nullptr);
        trace_.Close(&error);
        return courseGiven_ ? kBadArguments : kFailed;
    }
    const PlayerSettings::Subscription heard = app.settings.Listen([&](const Settings& s, SettingChanges changed) {
        manager.ApplySettings(s, changed);
        SetCrashSettings(SettingsInBrief(s));
    });
    auto* nullDevice = dynamic_cast<NullRenderDevice*>(GraphicsDevice::Instance().device.get());
    if (drawLog_ && nullDevice) nullDevice->DigestUniforms(true);
    running_ = true;
    bool played = false;  // a game scene has run
    const auto begin = std::chrono::steady_clock::now();
    for (frame_ = 0; !frames_ || frame_ < *frames_; ++frame_) {
        if (app.loopEnded) break;  // a scene ended the game
        if (!player_.Apply(frame_, input_)) break;  // the recorded run was closed here
        app.RunFrame(manager);
        if (drawLog_ && nullDevice)
            std::fprintf(drawLog_.get(), "{\"frame\":%" PRId64 ",\"draws\":%zu,\"digest\":\"%016" PRIx64 "\"}\n", frame_,
                         nullDevice->draws().size(), DigestOfDraws(nullDevice->draws()));
        if (!frames_ && RunHasEnded(manager.scene.get(), played)) {
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
        std::fprintf(stderr, Tr("korvelin: %zu answer(s) of the script found no question to answer\n"),
                     player_.answersLeft());
    int status = 0;
    if (drawLog_ && (std::ferror(drawLog_.get()) || std::fclose(drawLog_.release()) != 0)) {
        std::fprintf(stderr, "korvelin: cannot write '%s'\n", drawLogName_.c_str());
        status = kFailed;
    }
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
