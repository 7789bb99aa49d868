// The best runs as the scenes use them: the list of the course being played, in the file the
// command line chose (none for a replay, or headless without --scores).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scores/best_scores.hpp"

// The best score kept for the course being played; none when nothing is kept.
std::optional<int64_t> BestScoreOfCourse();
// What became of a finished run offered to the best list.
struct KeptRun {
    int place = 0;        // 1 for the best; 0: it did not enter (or nothing is kept, or it failed)
    bool failed = false;  // it would have entered, but the list could not be written
    std::string reason;   // then: what failed, in the player's words, naming the file
    std::string keptAt;   // then: where its recording is kept instead (empty: nowhere)
};

// Enters a finished run, under the scores file's lock, among the runs other games kept
// meanwhile (its recording copied beside the list when it enters). A list that cannot be
// written is said on standard error and in the result: the run's recording is then kept in the
// state folder, so the run can still be found.
KeptRun KeepRun(BestRun run);
