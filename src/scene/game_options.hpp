// What the command line chose for the game scene: the course file to play, the seed of the
// enemy units and whether the pilot flies. Set once before the first scene is made; the game scene reads it when it starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "course/course_file.hpp"

struct GameOptions {
    std::string courseFile = kCourseFile;
    // Unset: every run draws fresh units from the system's random source.
    std::optional<uint64_t> seed;
    // The pilot flies every run (and starts it from the title) with the player's controls.
    bool autopilot = false;
};

// The options of this process.
inline GameOptions& CurrentGameOptions() {
    static GameOptions options;
    return options;
}
