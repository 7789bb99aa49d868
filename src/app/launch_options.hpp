// The command line: the developer overlay, another course, a seed, a trace; in the window the
// answer to the full-screen question and a run recorded or replayed; and the headless run with
// its frame limit, first scene and input script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/player_settings.hpp"
#include "scene/scene_base.hpp"

struct LaunchOptions {
    bool help = false;
    bool version = false;
    bool dev = false;       // the developer overlay
    bool headless = false;  // no window, no sound device, no pacing: the null device
    std::optional<int64_t> frames;  // headless: stop after this many frames
    SceneId start = kSceneTitle;    // headless: the first scene
    std::string inputFile;          // headless: the input script
    std::string traceFile;          // one JSON line per frame
    std::string drawLogFile;        // headless: one line per frame with a digest of its draws
    std::string recordFile;         // window: the run's input, written as an input script
    std::string replayFile;         // window: an input script played instead of the devices
    // window: --fullscreen or --windowed, --render-scale, --no-frame-skip: for this run only,
    // over the settings.
    SettingsOverrides overrides;
    std::string courseFile;         // empty: the game's own course
    std::optional<uint64_t> seed;   // the enemy units' seed
    std::string settingsFile;       // empty: the player's own (a window run) or none (headless)
    bool autopilot = false;         // the pilot flies the runs
    std::string scoresFile;         // headless: the best runs' file to keep the runs in
};

// Reads argv[1] ... argv[argc - 1]. False with the reason in *error (without the program's
// name) for an unknown option, a missing or malformed value, an option given twice, a headless
// option without --headless, a window option with it, or two options that exclude each other.
bool ParseLaunchOptions(int argc, const char* const* argv, LaunchOptions* out, std::string* error);

// The text --help prints.
std::string LaunchUsage();
