// A headless run: the real application and scene manager, update and draw every frame, on the
// null render device with no window, no sound device and no pacing. An input script plays the
// keys, the cursor and the answers to question boxes; a trace gets one JSON line per frame; a
// summary line goes to standard output at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/launch_options.hpp"
#include "app/run_trace.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input.hpp"
#include "platform/input/script_player.hpp"

class HeadlessRun {
public:
    // Exit statuses: 2 for what the command line names (a script that does not read, a trace
    // that cannot be created, a course given with --course that cannot be read or played), 1 for
    // a game that cannot start here (its own course included) or a trace cut short.
    static constexpr int kBadArguments = 2;
    static constexpr int kFailed = 1;

    // Reads the input script and creates the trace file, before anything starts. False with the
    // message ("FILE:LINE: reason" for a script line) in *error.
    bool Prepare(const LaunchOptions& options, std::string* error);
    // The seed the script's first line carries, if any.
    std::optional<uint64_t> ScriptSeed() const { return player_.script().seed; }
    // Starts the application in the working directory, checks the course, runs the frames and
    // shuts down. Prints the summary line; returns the exit status. Without a frame count the
    // run ends when the game ends, at the script's quit (a recording's end), or else when the
    // title comes back after a run, or when the title waits with nothing left in the script to
    // start a run.
    int Run();

private:
    // A question takes the script's next answer whose frame has come, else its default.
    platform::DialogAnswer Answer(const platform::DialogRequest& request);
    // After a frame of a run without a frame count: whether it is the last. `played` remembers
    // that a game scene has run.
    bool RunHasEnded(const SceneBase* scene, bool& played) const;

    std::optional<int64_t> frames_;
    SceneId start_ = kSceneTitle;
    bool courseGiven_ = false;  // --course: its failures are the command line's
    bool scriptQuits_ = false;  // the script ends the run itself ("F quit")
    platform::ScriptPlayer player_;
    platform::ScriptedInput input_;
    RunTrace trace_;
    // --draw-log: after every frame its draws, counted and digested (DigestOfDraws).
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> drawLog_{nullptr, std::fclose};
    std::string drawLogName_;
    int64_t frame_ = 0;
    bool running_ = false;
};
