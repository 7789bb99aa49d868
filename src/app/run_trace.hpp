// The per-update trace of a run, headless or in the window: one JSON line per update, written
// right after the scene's update, with the update's number (the frame), the frames drawn so far,
// the scene's name and the scene's own fields. Headless, every update is drawn; in the window a
// slow machine draws fewer frames than it runs updates.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class SceneBase;

class RunTrace {
public:
    // Creates the file. False with "FILE: reason" when it cannot.
    bool Open(const std::string& path, std::string* error);
    bool open() const { return file_ != nullptr; }
    // The line of update `frame` for the scene that just ran (null while there is none), with
    // `drawn` frames drawn before it. A window run hands each line to the system at once, so it
    // can be followed while the game runs.
    void Write(int64_t frame, int64_t drawn, const SceneBase* scene, bool flush);
    // Closes the file; false with the reason when it could not be written in full.
    bool Close(std::string* error);

private:
    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
};

// The summary line a traced window run prints on standard output at its end: updates and drawn
// frames, in all and per second of wall-clock time.
void WriteWindowSummary(int64_t updates, int64_t drawn, double seconds);

// The name a scene has in traces and summaries: "title" or "game".
const char* SceneName(int sceneId);
