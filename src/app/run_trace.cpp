// Writing a run's trace.
#include "app/run_trace.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/trace/trace_writer.hpp"
#include "scene/scene_base.hpp"

// The demo is a game scene; its lines say "demo": true.
const char* SceneName(int sceneId) { return sceneId == kSceneTitle ? "title" : "game"; }

bool RunTrace::Open(const std::string& path, std::string* error) {
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) {
        *error = path + ": cannot write the trace: " + std::strerror(errno);
        return false;
    }
    path_ = path;
    return true;
}

void RunTrace::Write(int64_t frame, int64_t drawn, const SceneBase* scene, bool flush) {
    if (!file_) return;
    platform::TraceWriter line;
    line.Int("frame", frame);
    line.Int("drawn", drawn);
    if (scene) {
        line.String("scene", SceneName(scene->sceneId));
        scene->WriteTrace(line);
    } else {
        line.Null("scene");
    }
    const std::string text = line.TakeLine();
    std::fwrite(text.data(), 1, text.size(), file_.get());
    if (flush) std::fflush(file_.get());
}

bool RunTrace::Close(std::string* error) {
    if (!file_) return true;
    const bool failed = std::ferror(file_.get()) != 0;
    if (std::fclose(file_.release()) != 0 || failed) {
        *error = path_ + ": the trace could not be written in full";
        return false;
    }
    return true;
}

void WriteWindowSummary(int64_t updates, int64_t drawn, double seconds) {
    platform::TraceWriter summary(true);
    summary.Int("updates", updates);
    summary.Int("drawn", drawn);
    summary.Float("seconds", float(std::round(seconds * 1000.0) / 1000.0));
    const double rate = seconds > 0 ? 1.0 / seconds : 0.0;
    summary.Float("updatesPerSecond", float(std::round(double(updates) * rate * 100.0) / 100.0));
    summary.Float("drawnPerSecond", float(std::round(double(drawn) * rate * 100.0) / 100.0));
    const std::string text = summary.TakeLine();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}
