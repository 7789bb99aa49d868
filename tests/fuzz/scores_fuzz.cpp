// Fuzz target: any bytes read as the best-scores file. Reading must not crash; what is read
// keeps at most ten runs a course, best first, with sane fields; written out and read again it
// is the same list.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scores/best_scores.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    BestScores scores;
    std::string error;
    if (!scores.Parse(text, &error)) {
        if (error.empty() || !scores.courses.empty()) std::abort();
        return 0;
    }
    for (const auto& [course, runs] : scores.courses) {
        if (runs.size() > BestScores::kKept) std::abort();
        for (size_t i = 0; i < runs.size(); ++i) {
            if (runs[i].score < 0 || runs[i].livesLeft < 0 || runs[i].livesLeft > 3) std::abort();
            if (runs[i].recording.find('/') != std::string::npos) std::abort();
            if (i > 0 && runs[i].score > runs[i - 1].score) std::abort();
        }
    }
    BestScores again;
    if (!again.Parse(scores.Serialize(), &error) || again.courses != scores.courses) std::abort();
    // A new run enters at its place or not at all, and the list stays at ten.
    BestScores added = again;
    const int place = added.Add("x", {1000, 2, true, "d", 1, "r.txt"});
    if (place < 0 || place > int(BestScores::kKept) || added.Runs("x").size() > BestScores::kKept) std::abort();
    return 0;
}
