// The best runs as the scenes use them: the list of the course being played, in the file the
// command line chose (none for a replay, or headless without --scores).
#pragma once

#include <cstdint>
#include <optional>

#include "scores/best_scores.hpp"

// The best score kept for the course being played; none when nothing is kept.
std::optional<int64_t> BestScoreOfCourse();
// Enters a finished run (its recording copied beside the list when it enters): its place, 1
// for the best, or 0 when it does not enter or nothing is kept. Says on standard error what
// could not be written.
int KeepRun(BestRun run);
