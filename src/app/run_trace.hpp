// The per-frame trace of a run, headless or in the window: one JSON line per frame, written right
// after the scene's update, with the frame, the scene's name and the scene's own fields.
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
    // The line of `frame` for the scene that just ran (null while there is none). A window run
    // hands each line to the system at once, so it can be followed while the game runs.
    void Write(int64_t frame, const SceneBase* scene, bool flush);
    // Closes the file; false with the reason when it could not be written in full.
    bool Close(std::string* error);

private:
    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
};

// The name a scene has in traces and summaries: "title" or "game".
const char* SceneName(int sceneId);
