// What the command line chose for the scenes: the course file to play, the seed of the enemy
// units, whether the pilot flies, and where the best runs are kept. Set once before the first
// scene is made; the scenes read it when they start.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "course/course_file.hpp"
#include "platform/files/safe_file.hpp"

struct GameOptions {
    std::string courseFile = kCourseFile;
    // Unset: every run draws fresh units from the system's random source.
    std::optional<uint64_t> seed;
    // The pilot flies every run (and starts it from the title) with the player's controls.
    bool autopilot = false;
    // The best runs' file; empty: none are kept (headless without --scores, a replay).
    std::string scoresFile;
    // Copies the input recorded so far, ending after this update, to the file named; false
    // with the reason when there is no recording or it cannot be copied. Unset: runs are kept
    // without one.
    std::function<bool(const std::string& to, platform::SaveError* error)> keepRecording;
    // An earlier run's crash report that no start has named yet: the first title names it.
    std::string crashReport;
};

// The options of this process.
inline GameOptions& CurrentGameOptions() {
    static GameOptions options;
    return options;
}
