// What the command line chose for the runs of this process: the course file to play and the
// seed of the enemy units. The application fills it in before the first scene; the game scene
// reads it whenever a run starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "course/course_file.hpp"

struct GameOptions {
    std::string courseFile = kCourseFile;
    std::optional<uint64_t> seed;  // unset: every run's units are seeded from the system
};

GameOptions& GetGameOptions();
