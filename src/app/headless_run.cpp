// The headless run's loop, its script, its trace and its summary.
#include "app/headless_run.hpp"

#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "platform/trace/trace_writer.hpp"
#include "platform/window/dialogs.hpp"

using namespace platform;

namespace {
constexpr int kWidth = 1280, kHeight = 720;  // the back buffer, as the windowed game makes it
}  // namespace

const char* SceneName(SceneId id) { return id == kSceneGame ? "game" : "title"; }

bool HeadlessRun::Prepare(const LaunchOptions& options, std::string* error) {
    frames_ = options.frames;
    start_ = options.start;
    if (!options.inputFile.empty() && !LoadInputScript(options.inputFile, options.inputFile, &script_, error))
        return false;
    if (!options.traceFile.empty()) {
        trace_.reset(std::fopen(options.traceFile.c_str(), "wb"));
        if (!trace_) {
            *error = options.traceFile + ": cannot write the trace: " + std::strerror(errno);
            return false;
        }
        traceName_ = options.traceFile;
    }
    return true;
}

void HeadlessRun::ApplyEvents(int64_t frame) {
    const std::vector<InputEvent>& events = script_.events;
    for (; nextEvent_ < events.size() && events[nextEvent_].frame <= frame; ++nextEvent_) {
        const InputEvent& e = events[nextEvent_];
        switch (e.type) {
            case InputEvent::Type::Down: input_.SetKey(e.key, true); break;
            case InputEvent::Type::Up: input_.SetKey(e.key, false); break;
            case InputEvent::Type::Cursor: input_.SetCursor(input_.ClientToScreen(e.cursor)); break;
            case InputEvent::Type::Answer: answers_.push_back(e.yes); break;
        }
    }
}

DialogAnswer HeadlessRun::Answer(const DialogRequest& r) {
    DialogAnswer answer = r.buttons == DialogButtons::Ok ? DialogAnswer::Ok
                          : r.defaultYes                 ? DialogAnswer::Yes
                                                         : DialogAnswer::No;
    const char* how = "";
    if (r.buttons == DialogButtons::YesNo) {
        how = " (the default)";
        if (!answers_.empty()) {
            answer = answers_.front() ? DialogAnswer::Yes : DialogAnswer::No;
            answers_.pop_front();
            how = " (from the script)";
        }
    }
    // Nobody sees the box, so it goes to standard error with its answer.
    const std::string when = running_ ? "frame " + std::to_string(frame_) : std::string("start-up");
    const char* shown = r.buttons == DialogButtons::Ok ? "" : answer == DialogAnswer::Yes ? " -> yes" : " -> no";
    std::fprintf(stderr, "korvelin: %s: %s: %s%s%s\n", when.c_str(), r.caption.c_str(), r.text.c_str(), shown, how);
    return answer;
}

void HeadlessRun::WriteTraceLine(const SceneBase* scene) {
    TraceWriter line;
    line.Int("frame", frame_);
    if (scene) {
        line.String("scene", SceneName(scene->sceneId));
        scene->WriteTrace(line);
    } else {
        line.Null("scene");
    }
    const std::string text = line.TakeLine();
    std::fwrite(text.data(), 1, text.size(), trace_.get());
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
    SceneManager manager(app.sceneFactory);
    manager.SetUpdateObserver([&](const SceneBase* scene) {
        if (scene && scene->sceneId == kSceneGame) lastRun = scene->Summary();
        if (trace_) WriteTraceLine(scene);
    });
    manager.Init(start_);
    running_ = true;
    const auto begin = std::chrono::steady_clock::now();
    for (frame_ = 0; !frames_ || frame_ < *frames_; ++frame_) {
        if (app.loopEnded) break;  // a scene ended the game (there is no window to close)
        ApplyEvents(frame_);
        app.RunFrame(manager);
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
    running_ = false;
    const char* scene = manager.scene ? SceneName(manager.scene->sceneId) : nullptr;
    manager.Release();
    app.Shutdown();
    SetDialogHandler(nullptr);

    if (!answers_.empty())
        std::fprintf(stderr, "korvelin: %zu answer(s) of the script found no question to answer\n", answers_.size());
    int status = 0;
    if (trace_) {
        const bool failed = std::ferror(trace_.get()) != 0;
        if (std::fclose(trace_.release()) != 0 || failed) {
            std::fprintf(stderr, "korvelin: %s: the trace could not be written in full\n", traceName_.c_str());
            status = kFailed;
        }
    }
    TraceWriter summary(true);
    summary.Int("frames", frame_);
    if (scene)
        summary.String("scene", scene);
    else
        summary.Null("scene");
    summary.Int("score", lastRun.score);
    summary.Bool("runOver", lastRun.runOver);
    // Wall-clock time, so it is only here and never in the trace.
    const double msPerFrame = frame_ > 0 ? elapsed.count() / double(frame_) : 0.0;
    summary.Float("msPerFrame", float(std::round(msPerFrame * 1000.0) / 1000.0));
    const std::string line = summary.TakeLine();
    std::fwrite(line.data(), 1, line.size(), stdout);
    return status;
}
